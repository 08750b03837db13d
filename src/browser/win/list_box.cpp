#include "browser/win/list_box.h"

namespace lumetra::win {

std::wstring listText(HWND list, int index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(index), 0);
    if (length == LB_ERR) return {};
    std::wstring text(std::size_t(length) + 1, L'\0');
    const LRESULT got =
        SendMessageW(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : std::size_t(got));
    return text;
}

int listIndexOf(HWND list, const std::wstring& name, std::size_t item) {
    const LRESULT found =
        SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(name.c_str()));
    if (found != LB_ERR &&
        std::size_t(SendMessageW(list, LB_GETITEMDATA, WPARAM(found), 0)) == item)
        return int(found);
    const int count = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (std::size_t(SendMessageW(list, LB_GETITEMDATA, WPARAM(i), 0)) == item) return i;
    return -1;
}

}  // namespace lumetra::win
