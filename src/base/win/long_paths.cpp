#include "base/win/long_paths.h"

#include <windows.h>

#include <algorithm>

#include "base/win/utf16.h"

namespace lumetra::win {
namespace {

// CreateDirectoryW refuses plain paths that leave no room for an 8.3 name below MAX_PATH.
constexpr std::size_t kPlainPathLimit = MAX_PATH - 12;

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kExtendedUncPrefix = L"\\\\?\\UNC\\";

bool startsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::wstring fullPathName(const std::wstring& path) {
    std::wstring full(std::max<std::size_t>(path.size() + 1, MAX_PATH), L'\0');
    // The size asked for may change if the current directory changes in between: ask again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD n = GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr);
        if (n == 0) return path;
        if (n < full.size()) {
            full.resize(n);
            return full;
        }
        full.assign(n, L'\0');  // n counts the terminating zero when the buffer was too small
    }
    return path;
}

std::wstring toApiPath(std::string_view path) {
    std::wstring wide = toUtf16(path);
    if (wide.size() < kPlainPathLimit || startsWith(wide, kExtendedPrefix)) return wide;
    const std::wstring full = fullPathName(wide);
    if (startsWith(full, L"\\\\"))  // \\server\share\...
        return std::wstring(kExtendedUncPrefix) + full.substr(2);
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\')
        return std::wstring(kExtendedPrefix) + full;
    return full;  // a device path or something else the prefix cannot help
}

std::string fromApiPath(std::wstring_view path) {
    if (startsWith(path, kExtendedUncPrefix))
        return "\\\\" + toUtf8(path.substr(kExtendedUncPrefix.size()));
    if (startsWith(path, kExtendedPrefix)) return toUtf8(path.substr(kExtendedPrefix.size()));
    return toUtf8(path);
}

}  // namespace lumetra::win
