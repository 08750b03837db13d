#pragma once
// Wide-string helpers at the edge of the platform: bounded formatting, the string table, the
// system's error texts and window texts (UTF-8 <-> UTF-16 is in utf16.h).

#include <windows.h>

#include <cstdarg>
#include <string>
#include <string_view>

namespace lumetra::win {

// printf-style formatting into a bounded buffer (at most `limit` characters are kept).
std::wstring formatText(size_t limit, const wchar_t* format, ...);
std::wstring formatTextV(size_t limit, const wchar_t* format, va_list args);

// The string-table entry `id` of the program's module, cut to `limit` characters; empty when
// there is none.
std::wstring loadString(HINSTANCE instance, UINT id, size_t limit = 399);

// The system's message text for an error code, without the trailing line break.
std::wstring systemErrorText(DWORD code);

// The window text of a control.
std::wstring windowText(HWND window);

}  // namespace lumetra::win
