#include "browser/win/thumbnail_tips.h"

#include <commctrl.h>

#include "browser/win/list_box.h"

namespace lumetra::win {
namespace {

// The list item under a point of the list's client area; -1 below the last item.
int itemAt(HWND list, POINT p) {
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
    return HIWORD(hit) == 0 ? int(LOWORD(hit)) : -1;
}

}  // namespace

void ThumbnailTips::create(HWND dialog) {
    dialog_ = dialog;
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
}

void ThumbnailTips::addList(HWND list) {
    if (!tooltip_ || !list) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // The tooltip asks for its text once per showing: a move to another cell takes it away,
    // and it comes back with that cell's name.
    SetWindowSubclass(list, listProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

bool ThumbnailTips::notify(const NMHDR& header) {
    if (!tooltip_ || header.hwndFrom != tooltip_ || header.code != TTN_GETDISPINFOW) return false;
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
    const HWND list = reinterpret_cast<HWND>(header.idFrom);
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(list, &cursor);
    list_ = list;
    item_ = itemAt(list, cursor);
    text_ = item_ >= 0 ? listText(list, item_) : std::wstring();
    info.lpszText = text_.data();
    return true;
}

LRESULT CALLBACK ThumbnailTips::listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self) {
    auto* tips = reinterpret_cast<ThumbnailTips*>(self);
    if (message == WM_MOUSEMOVE && tips->list_ == list) {
        const int item = itemAt(list, POINT{short(LOWORD(lParam)), short(HIWORD(lParam))});
        if (item != tips->item_) {
            tips->item_ = item;
            SendMessageW(tips->tooltip_, TTM_POP, 0, 0);
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(list, listProc, id);
        if (tips->list_ == list) tips->list_ = nullptr;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace lumetra::win
