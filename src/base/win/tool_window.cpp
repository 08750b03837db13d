#include "base/win/tool_window.h"

namespace lumetra::win {
namespace {

int windowHeight(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

}  // namespace

int rolledUpHeight() {
    return 2 * GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYSMCAPTION);
}

UniqueFont makeBoldFont(HWND dialog) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    if (!font || !GetObjectW(font, sizeof logFont, &logFont)) {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
    }
    logFont.lfWeight = FW_BOLD;
    return UniqueFont(CreateFontIndirectW(&logFont));
}

HWND ToolWindow::create(HINSTANCE instance, HWND owner, int dialogId) {
    window_ = CreateDialogParamW(instance, MAKEINTRESOURCEW(dialogId), owner, dialogTrampoline,
                                 reinterpret_cast<LPARAM>(static_cast<DialogHandler*>(this)));
    if (!window_) return nullptr;
    fullHeight_ = windowHeight(window_);
    return window_;
}

void ToolWindow::moveTo(int x, int y) {
    if (window_)
        SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ToolWindow::applyShowState(int state) {
    if (!window_) return;
    if (state == 6) {
        if (rollsUp_) roll();
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        return;
    }
    // Tool windows never take the activation from the main window at start.
    ShowWindow(window_, state == SW_SHOW || state == SW_SHOWNORMAL ? SW_SHOWNOACTIVATE : state);
}

void ToolWindow::recordPlacement() {
    if (!window_ || !IsWindow(window_)) return;
    RECT r{};
    GetWindowRect(window_, &r);
    const bool rolledUp = (r.bottom - r.top) < 50;
    const ToolPlacement& p = placement_;
    if (p.x) *p.x = r.left;
    if (p.y) *p.y = r.top;
    if (p.width) *p.width = r.right - r.left;
    if (p.bottom) *p.bottom = rolledUp ? r.top + fullHeight_ : r.bottom;
    if (p.show) *p.show = !shown_ ? 0 : rolledUp ? 6 : 5;
}

bool ToolWindow::isOpen() const {
    return window_ && IsWindowVisible(window_) && windowHeight(window_) > 50;
}

void ToolWindow::show() {
    if (!window_) return;
    if (windowHeight(window_) < 50 && fullHeight_ > 0) roll();
    if (IsWindowVisible(window_)) {
        SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    } else {
        ShowWindow(window_, SW_SHOW);
    }
}

void ToolWindow::roll() {
    if (!window_) return;
    RECT r{};
    GetWindowRect(window_, &r);
    int newHeight = fullHeight_;
    if (r.bottom - r.top >= 100) {
        // A window that can be resized unrolls to the height it had, not the one it was made with.
        fullHeight_ = r.bottom - r.top;
        newHeight = rolledUpHeight();
        if (HWND owner = GetWindow(window_, GW_OWNER)) SetFocus(owner);
    }
    SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, newHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ToolWindow::setItemBold(int controlId) {
    if (!window_) return;
    if (!boldFont_) boldFont_ = makeBoldFont(window_);
    SendDlgItemMessageW(window_, controlId, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()),
                        TRUE);
}

INT_PTR ToolWindow::onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            window_ = dialog;
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) active_ = dialog;
            break;
        case WM_NCLBUTTONDBLCLK:
            if (wParam == HTCAPTION && rollsUp_) {
                roll();
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
            if (active_ == dialog) active_ = nullptr;
            break;
        default:
            break;
    }
    return handle(dialog, message, wParam, lParam);
}

}  // namespace lumetra::win
