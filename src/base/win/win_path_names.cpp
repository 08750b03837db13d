#include "base/win/win_path_names.h"

#include <windows.h>

#include "base/win/long_paths.h"
#include "base/win/utf16.h"

namespace lumetra::win {
namespace {

using PathConversion = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);

// Both conversions return the size they need (with the terminating zero) when the buffer is too
// small, and the length they wrote (without it) otherwise.
std::optional<std::wstring> convert(PathConversion conversion, const std::wstring& path) {
    DWORD size = MAX_PATH;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::wstring result(size, L'\0');
        const DWORD n = conversion(path.c_str(), result.data(), size);
        if (n == 0) return std::nullopt;
        if (n < size) {
            result.resize(n);
            return result;
        }
        size = n;
    }
    return std::nullopt;
}

}  // namespace

std::string WinPathNames::shortPath(const std::string& path) {
    // The full path first: the extended-length form, when it is needed, wants a full path.
    const std::wstring full = toApiPath(toUtf8(fullPathName(toUtf16(path))));
    const auto converted = convert(&GetShortPathNameW, full);
    return converted ? fromApiPath(*converted) : path;
}

std::string WinPathNames::longPath(const std::string& path) {
    const auto converted = convert(&GetLongPathNameW, toApiPath(path));
    return converted ? fromApiPath(*converted) : path;
}

bool WinPathNames::exists(const std::string& path) {
    return GetFileAttributesW(toApiPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace lumetra::win
