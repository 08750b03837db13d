#include "shell/program_folders.h"

#include "base/text_limits.h"

namespace lumetra {
namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// A stored folder is kept only when it still names a folder we can write into.
bool usableFolder(const std::string& path, FolderSystem& system) {
    if (path.empty() || wideLength(path) > kMaxFolderLength) return false;
    const auto attributes = system.attributes(path);
    return attributes && attributes->directory && !attributes->readOnly;
}

void settleWithDefault(std::string& folder, const std::string& fallback, FolderSystem& system) {
    if (usableFolder(folder, system)) return;
    folder = fallback;
    system.createDirectory(folder);  // an existing folder or a missing parent is not reported
}

std::string settleBaseFolder(FolderSystem& system) {
    if (auto module = system.modulePath()) return folderOfPath(*module);
    // The current directory comes without a trailing separator: it is the folder itself, not a
    // file in its parent.
    if (auto current = system.currentDirectory())
        return folderOfPath(ensureTrailingBackslash(*current));
    return {};
}

}  // namespace

std::string ensureTrailingBackslash(std::string_view path) {
    std::string result(path);
    if (!result.empty() && !isSeparator(result.back())) result += '\\';
    return result;
}

std::string folderOfPath(std::string_view path) {
    std::string_view drive;
    if (path.size() >= 2 && path[1] == ':') {
        drive = path.substr(0, 2);
        path.remove_prefix(2);
    }
    std::size_t end = path.size();
    while (end > 0 && !isSeparator(path[end - 1]))
        --end;
    return std::string(drive) + std::string(path.substr(0, end));
}

void settleFolders(ProgramFolders& folders, FolderSystem& system) {
    folders.baseFolder = settleBaseFolder(system);
    const std::string& base = folders.baseFolder;
    settleWithDefault(folders.imageFolder, base + "Images\\", system);
    settleWithDefault(folders.filterFolder, base + "Filters\\", system);
    folders.undoFolder = base + "Undo\\";
    system.createDirectory(folders.undoFolder);
    if (!usableFolder(folders.soundfileFolder, system)) {
        const auto variable = system.environmentVariable(std::string(kSoundfileFolderVariable));
        folders.soundfileFolder = variable && !variable->empty() ? *variable : base;
    }
    folders.soundfileFolder = ensureTrailingBackslash(folders.soundfileFolder);
    settleWithDefault(folders.analysesFolder, base + "Analyses\\", system);
}

}  // namespace lumetra
