#include "shell/win/app_state.h"

namespace lumetra::win {

WindowLayout defaultWindowLayout() {
    // The record's own defaults are the ones derived from the default main window.
    return WindowLayout{};
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
