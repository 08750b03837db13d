#include "base/win/utf16.h"

#include <windows.h>

#include <limits>
#include <stdexcept>

namespace lumetra::win {
namespace {

// The conversion calls count in int; longer texts than that exist in no path or setting.
int checkedLength(std::size_t size) {
    if (size > std::size_t(std::numeric_limits<int>::max()))
        throw std::length_error("text too long to convert");
    return int(size);
}

}  // namespace

std::wstring toUtf16(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int length = checkedLength(utf8.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(std::size_t(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    return wide;
}

std::string toUtf8(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int length = checkedLength(utf16.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(std::size_t(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, text.data(), needed, nullptr, nullptr);
    return text;
}

}  // namespace lumetra::win
