#include "shell/win/win_folder_system.h"

#include <windows.h>

#include "base/win/long_paths.h"
#include "base/win/utf16.h"

namespace lumetra::win {
namespace {

// Paths and variables reach at most 32767 characters.
constexpr DWORD kMaxWideText = 32768;

}  // namespace

std::optional<std::string> WinFolderSystem::modulePath() {
    // GetModuleFileNameW cuts the path to the buffer without saying how much it needs: a result
    // that fills the buffer may be cut, so try again with more room.
    for (DWORD size = MAX_PATH; size <= kMaxWideText; size *= 2) {
        std::wstring path(size, L'\0');
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), size);
        if (n == 0) return std::nullopt;
        if (n < size) {
            path.resize(n);
            return fromApiPath(path);
        }
    }
    return std::nullopt;
}

std::optional<std::string> WinFolderSystem::currentDirectory() {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD needed = GetCurrentDirectoryW(0, nullptr);  // with the terminating zero
        if (needed == 0) return std::nullopt;
        std::wstring path(needed, L'\0');
        const DWORD n = GetCurrentDirectoryW(needed, path.data());
        if (n == 0) return std::nullopt;
        if (n < needed) {
            path.resize(n);
            return fromApiPath(path);
        }
        // Another thread changed the directory to a longer one in between.
    }
    return std::nullopt;
}

std::optional<EntryAttributes> WinFolderSystem::attributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(toApiPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return EntryAttributes{(attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (attributes & FILE_ATTRIBUTE_READONLY) != 0};
}

bool WinFolderSystem::createDirectory(const std::string& path) {
    return CreateDirectoryW(toApiPath(path).c_str(), nullptr) != 0;
}

std::optional<std::string> WinFolderSystem::environmentVariable(const std::string& name) {
    const std::wstring wideName = toUtf16(name);
    for (int attempt = 0; attempt < 4; ++attempt) {
        SetLastError(ERROR_SUCCESS);
        const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
        if (needed == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        std::wstring value(needed, L'\0');
        SetLastError(ERROR_SUCCESS);
        const DWORD n = GetEnvironmentVariableW(wideName.c_str(), value.data(), needed);
        if (n == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        if (n < needed) {
            value.resize(n);
            return toUtf8(value);
        }
    }
    return std::nullopt;
}

}  // namespace lumetra::win
