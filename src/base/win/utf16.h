#pragma once
// UTF-8 (the core's text) <-> UTF-16 (the wide Windows API), at the edge of every platform call.
// Ill-formed input never fails: it comes out with U+FFFD in place of the bad sequence.

#include <string>
#include <string_view>

namespace lumetra::win {

std::wstring toUtf16(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

}  // namespace lumetra::win
