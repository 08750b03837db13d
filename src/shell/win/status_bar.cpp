#include "shell/win/status_bar.h"

#include <commctrl.h>

#include <cwchar>

#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

// The longest texts parts 1 and 2 show: a render's time and speed, the pointer's readout.
constexpr wchar_t kWidestProgress[] = L"Time: 888.88 s (888.88 x real-time)";
constexpr wchar_t kWidestReadout[] = L"888.88 sec, 88888.88 Hz, C#-1 -50 cents";

int textWidth(HWND statusBar, const wchar_t* text) {
    HDC dc = GetDC(statusBar);
    if (!dc) return 0;
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(statusBar, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, text, int(wcslen(text)), &size);
    SelectObject(dc, old);
    ReleaseDC(statusBar, dc);
    return size.cx;
}

// Parts 1 and 2 as wide as their longest texts (with the borders and the size grip); part 0,
// the messages and menu help, takes the rest.
void setParts(HWND statusBar, int clientWidth) {
    const int border = 2 * GetSystemMetrics(SM_CXEDGE) + 8;
    const int readout =
        textWidth(statusBar, kWidestReadout) + border + GetSystemMetrics(SM_CXVSCROLL);
    const int progress = textWidth(statusBar, kWidestProgress) + border;
    int edges[3] = {clientWidth - readout - progress, clientWidth - readout, -1};
    SendMessageW(statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
}

}  // namespace

HWND createStatusBar(HWND parent, HINSTANCE instance) {
    return CreateWindowExW(
        0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | SBARS_TOOLTIPS, 0, 0, 0,
        0, parent, reinterpret_cast<HMENU>(INT_PTR{IDW_STATUSBAR}), instance, nullptr);
}

void setStatusPartsAtCreation(HWND statusBar, int clientWidth) {
    setParts(statusBar, clientWidth);
}

void setStatusPartsAfterResize(HWND statusBar, int clientWidth) {
    setParts(statusBar, clientWidth);
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
