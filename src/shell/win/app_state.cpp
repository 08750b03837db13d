#include "shell/win/app_state.h"

namespace lumetra::win {

WindowLayout defaultWindowLayout() {
    WindowLayout l;
    l.brushX = l.mainX;
    l.brushY = l.mainY + l.mainHeight;
    l.echordX = l.brushX + 276;
    l.echordY = l.mainY + l.mainHeight;
    l.renderX = l.mainX + 250;
    l.renderY = l.mainY + 46;
    l.browserX = l.mainX + l.mainWidth - 220;
    l.browserY = l.mainY + 26;
    l.browserWidth = 370;
    l.browserBottom = l.browserY + 330;
    return l;
}

AppState& appState() {
    static AppState state;
    return state;
}

HCURSOR toolCursor(int id) {
    HCURSOR cursor = LoadCursorW(appState().instance, MAKEINTRESOURCEW(id));
    return cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
}

}  // namespace lumetra::win
