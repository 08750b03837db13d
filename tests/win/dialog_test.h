#pragma once
// Helpers of the tool-window and dialog tests: the common controls registered once, and a dialog's
// controls worked as the user works them.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "base/win/text.h"

namespace lumetra::win {

inline HINSTANCE module() {
    return GetModuleHandleW(nullptr);
}

inline void initCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

// A control's notification `code` to its dialog.
inline void notify(HWND dialog, int id, int code) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
inline void click(HWND dialog, int id) {
    notify(dialog, id, BN_CLICKED);
}
// A push-like radio button as the user presses it: the platform checks it, then reports.
inline void press(HWND dialog, int first, int last, int id) {
    CheckRadioButton(dialog, first, last, id);
    click(dialog, id);
}
inline bool checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}
// Types `text` into a field (unless null) and leaves it.
inline void leaveField(HWND dialog, int id, const wchar_t* text) {
    if (text) SetDlgItemTextW(dialog, id, text);
    notify(dialog, id, EN_KILLFOCUS);
}
inline std::wstring itemText(HWND dialog, int id) {
    return windowText(GetDlgItem(dialog, id));
}
inline void holdShift(bool held) {
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}
inline SIZE windowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace lumetra::win
