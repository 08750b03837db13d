#pragma once
// The number fields of the picture dialogs: read as the renderer's field rules read them, and
// written as UTF-16.

#include <windows.h>

#include <string>

#include "base/win/text.h"
#include "base/win/utf16.h"
#include "render/render_fields.h"

namespace lumetra::win {

// The dialogs' arrows never move: each click is taken as a step and the position stays in the
// middle.
inline constexpr int kArrowMiddle = 500;

inline double fieldNumber(HWND dialog, int control) {
    return readFieldNumber(toUtf8(windowText(GetDlgItem(dialog, control))));
}

inline void setField(HWND dialog, int control, const std::string& text) {
    SetDlgItemTextW(dialog, control, toUtf16(text).c_str());
}

}  // namespace lumetra::win
