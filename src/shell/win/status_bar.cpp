#include "shell/win/status_bar.h"

#include <commctrl.h>

#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

void setParts(HWND statusBar, int first, int second) {
    int edges[3] = {first, second, -1};
    SendMessageW(statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
}

}  // namespace

HWND createStatusBar(HWND parent, HINSTANCE instance) {
    return CreateWindowExW(
        0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | SBARS_TOOLTIPS, 0, 0, 0,
        0, parent, reinterpret_cast<HMENU>(INT_PTR{IDW_STATUSBAR}), instance, nullptr);
}

void setStatusPartsAtCreation(HWND statusBar, int clientWidth) {
    setParts(statusBar, clientWidth - 250, clientWidth - 80);
}

void setStatusPartsAfterResize(HWND statusBar, int clientWidth) {
    setParts(statusBar, clientWidth - 280, clientWidth - 130);
}

void setStatusBarText(HWND statusBar, int part, std::wstring_view text) {
    if (!statusBar) return;
    std::wstring copy(text);
    SendMessageW(statusBar, SB_SETTEXTW, WPARAM(part), reinterpret_cast<LPARAM>(copy.c_str()));
}

std::wstring statusBarText(HWND statusBar, int part) {
    if (!statusBar) return {};
    LRESULT info = SendMessageW(statusBar, SB_GETTEXTLENGTHW, WPARAM(part), 0);
    std::wstring text(size_t(LOWORD(info)) + 1, L'\0');
    SendMessageW(statusBar, SB_GETTEXTW, WPARAM(part), reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(info));
    return text;
}

}  // namespace lumetra::win
