#include "shell/win/tool_window.h"

#include "shell/win/app_state.h"
#include "shell/win/tool_windows.h"

namespace lumetra::win {

HWND ToolWindow::create(HINSTANCE instance, HWND owner, int dialogId) {
    window_ = CreateDialogParamW(instance, MAKEINTRESOURCEW(dialogId), owner, dialogTrampoline,
                                 reinterpret_cast<LPARAM>(static_cast<DialogHandler*>(this)));
    if (!window_) return nullptr;
    RECT r{};
    GetWindowRect(window_, &r);
    fullHeight_ = r.bottom - r.top;
    rememberFullHeight(window_, fullHeight_);
    return window_;
}

void ToolWindow::moveTo(int x, int y) {
    if (window_)
        SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ToolWindow::applyShowState(int state) {
    if (!window_) return;
    if (state == 6) {
        if (rollsUp()) rollToolWindow(window_, fullHeight_);
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        return;
    }
    // Tool windows never take the activation from the main window at start.
    ShowWindow(window_, state == SW_SHOW || state == SW_SHOWNORMAL ? SW_SHOWNOACTIVATE : state);
}

void ToolWindow::recordPlacement() {
    if (!window_ || !IsWindow(window_)) return;
    ToolPlacement p = placement();
    RECT r{};
    GetWindowRect(window_, &r);
    const bool rolledUp = (r.bottom - r.top) < 50;
    if (p.x) *p.x = r.left;
    if (p.y) *p.y = r.top;
    if (p.width) *p.width = r.right - r.left;
    if (p.bottom) *p.bottom = rolledUp ? r.top + fullHeight_ : r.bottom;
    if (p.show) *p.show = !shown_ ? 0 : rolledUp ? 6 : 5;
}

INT_PTR ToolWindow::onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            window_ = dialog;
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) appState().activeToolWindow = dialog;
            break;
        case WM_NCLBUTTONDBLCLK:
            if (wParam == HTCAPTION && rollsUp()) {
                rollToolWindow(dialog, fullHeight_);
                return TRUE;
            }
            break;
        case WM_CLOSE:
            ShowWindow(dialog, SW_HIDE);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                ShowWindow(dialog, SW_HIDE);
                return TRUE;
            }
            break;
        case WM_SHOWWINDOW:
            // Only the program's own show calls count (lParam 0): the platform hides owned
            // windows for a while when their owner is minimized, and hides a window before it
            // is destroyed, neither of which the user chose.
            if (lParam == 0) shown_ = wParam != FALSE;
            break;
        case WM_DESTROY:
            recordPlacement();
            forgetFullHeight(dialog);
            if (appState().activeToolWindow == dialog) appState().activeToolWindow = nullptr;
            break;
        default:
            break;
    }
    return handle(dialog, message, wParam, lParam);
}

}  // namespace lumetra::win
