#include "shell/program_folders.h"

#include "base/file_io.h"
#include "base/text_limits.h"

namespace lumetra {
namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// A stored folder is kept only when it still names a folder we can write into.
bool usableFolder(const std::filesystem::path& path, FileSystem& files) {
    if (path.empty() || wideLength(utf8FromPath(path)) > kMaxFolderLength) return false;
    const auto attributes = files.attributes(path);
    return attributes && attributes->directory && !attributes->readOnly;
}

void settleWithDefault(std::filesystem::path& folder, const std::string& fallback,
                       FileSystem& files) {
    if (usableFolder(folder, files)) return;
    folder = pathFromUtf8(fallback);
    files.createDirectory(folder);  // an existing folder or a missing parent is not reported
}

std::string settleBaseFolder(FileSystem& files) {
    if (auto module = files.modulePath()) return folderOfPath(utf8FromPath(*module));
    // The current directory comes without a trailing separator: it is the folder itself, not a
    // file in its parent.
    if (auto current = files.currentDirectory())
        return folderOfPath(ensureTrailingBackslash(utf8FromPath(*current)));
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

void settleFolders(ProgramFolders& folders, FileSystem& files) {
    const std::string base = settleBaseFolder(files);
    folders.baseFolder = pathFromUtf8(base);
    settleWithDefault(folders.imageFolder, base + "Images\\", files);
    settleWithDefault(folders.filterFolder, base + "Filters\\", files);
    folders.undoFolder = pathFromUtf8(base + "Undo\\");
    files.createDirectory(folders.undoFolder);
    if (!usableFolder(folders.soundfileFolder, files)) {
        const auto variable = files.environmentVariable(std::string(kSoundfileFolderVariable));
        folders.soundfileFolder = pathFromUtf8(variable && !variable->empty() ? *variable : base);
    }
    folders.soundfileFolder =
        pathFromUtf8(ensureTrailingBackslash(utf8FromPath(folders.soundfileFolder)));
    settleWithDefault(folders.analysesFolder, base + "Analyses\\", files);
}

}  // namespace lumetra
