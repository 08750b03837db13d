#include "shell/win/program_folders.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <system_error>

namespace lumetra::win {
namespace {

std::filesystem::path withTrailingSeparator(std::filesystem::path p) {
    std::wstring s = p.wstring();
    if (!s.empty() && s.back() != L'\\' && s.back() != L'/') s += L'\\';
    return std::filesystem::path(s);
}

// A stored folder is kept when it names an existing entry that is not read-only.
bool usable(const std::filesystem::path& folder) {
    if (folder.empty()) return false;
    DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY);
}

std::filesystem::path moduleFolder() {
    std::wstring buffer(32768, L'\0');
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    if (n == 0 || n >= buffer.size()) {
        std::error_code error;
        return withTrailingSeparator(std::filesystem::current_path(error));
    }
    buffer.resize(n);
    return folderOf(buffer);
}

// Only the last level is created; a failure (the folder exists, a parent is missing) is ignored.
void createFolder(const std::filesystem::path& folder) {
    CreateDirectoryW(folder.c_str(), nullptr);
}

void settleDefault(std::filesystem::path& field, const std::filesystem::path& fallback) {
    if (usable(field)) return;
    field = fallback;
    createFolder(field);
}

}  // namespace

std::filesystem::path folderOf(const std::filesystem::path& path) {
    std::filesystem::path parent = path.parent_path();
    if (parent.empty()) return {};
    return withTrailingSeparator(parent);
}

void settleFolders(ProgramFolders& f) {
    f.baseFolder = moduleFolder();
    settleDefault(f.imageFolder, f.baseFolder / L"Images\\");
    settleDefault(f.filterFolder, f.baseFolder / L"Filters\\");
    f.undoFolder = f.baseFolder / L"Undo\\";
    createFolder(f.undoFolder);
    if (!usable(f.soundfileFolder)) {
        const wchar_t* sfdir = _wgetenv(L"SFDIR");
        f.soundfileFolder = (sfdir && *sfdir) ? std::filesystem::path(sfdir) : f.baseFolder;
    }
    f.soundfileFolder = withTrailingSeparator(f.soundfileFolder);
    settleDefault(f.analysesFolder, f.baseFolder / L"Analyses\\");
}

}  // namespace lumetra::win
