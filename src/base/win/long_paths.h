#pragma once
// Paths at the file API. A path that may be too long for the plain form (MAX_PATH, and 248 for a
// folder to be created) is handed over in the extended-length form "\\?\C:\..." or
// "\\?\UNC\server\share\...", which reaches 32767 characters. That form turns off the API's own
// clean-up of the path, so the path is made full and clean first.

#include <string>
#include <string_view>

namespace lumetra::win {

// The wide form of a UTF-8 path for the W functions; extended-length when it is long.
std::wstring toApiPath(std::string_view path);

// A path as the API returned it, back to UTF-8 and without an extended-length prefix.
std::string fromApiPath(std::wstring_view path);

// GetFullPathNameW with a buffer of whatever size it needs; the path unchanged when it fails.
std::wstring fullPathName(const std::wstring& path);

}  // namespace lumetra::win
