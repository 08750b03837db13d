#include "shell/win/tool_windows.h"

#include "shell/win/app_state.h"

namespace lumetra::win {
namespace {

int windowHeight(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

// Tool windows remember their full height in a window property so that showToolWindow can
// unroll one without knowing its kind.
constexpr wchar_t kFullHeightProperty[] = L"LumetraFullHeight";

}  // namespace

void rememberFullHeight(HWND window, int fullHeight) {
    SetPropW(window, kFullHeightProperty, reinterpret_cast<HANDLE>(INT_PTR{fullHeight}));
}

void forgetFullHeight(HWND window) {
    RemovePropW(window, kFullHeightProperty);
}

void enableToolWindows(bool enable) {
    AppState& s = appState();
    for (HWND w : {s.tools.brush, s.tools.echord, s.tools.browser, s.tools.renderOptions}) {
        if (w) EnableWindow(w, enable ? TRUE : FALSE);
    }
    s.toolWindowsEnabled = enable;
}

bool isToolWindowOpen(HWND window) {
    return window && IsWindowVisible(window) && windowHeight(window) > 50;
}

int rolledUpHeight() {
    return 2 * GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYSMCAPTION);
}

int rollToolWindow(HWND window, int fullHeight) {
    RECT r{};
    GetWindowRect(window, &r);
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    int newHeight = fullHeight;
    if (height >= 100) {
        newHeight = rolledUpHeight();
        SetFocus(appState().mainWindow);
    }
    SetWindowPos(window, nullptr, 0, 0, width, newHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return newHeight;
}

void showToolWindow(HWND window) {
    if (!window) return;
    if (windowHeight(window) < 50) {
        auto full = int(reinterpret_cast<INT_PTR>(GetPropW(window, kFullHeightProperty)));
        if (full > 0) rollToolWindow(window, full);
    }
    if (IsWindowVisible(window)) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    } else {
        ShowWindow(window, SW_SHOW);
    }
}

void setDialogItemBold(HWND dialog, int controlId) {
    AppState& s = appState();
    if (!s.boldDialogFont) {
        auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
        LOGFONTW logFont{};
        if (!font || !GetObjectW(font, sizeof logFont, &logFont)) {
            GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
        }
        logFont.lfWeight = FW_BOLD;
        s.boldDialogFont.reset(CreateFontIndirectW(&logFont));
    }
    SendDlgItemMessageW(dialog, controlId, WM_SETFONT,
                        reinterpret_cast<WPARAM>(s.boldDialogFont.get()), TRUE);
}

void keepToolWindowsAboveOwner() {
    const AppState& s = appState();
    for (HWND w : {s.tools.browser, s.tools.renderOptions, s.tools.echord, s.tools.brush}) {
        if (w && IsWindowVisible(w)) {
            SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

}  // namespace lumetra::win
