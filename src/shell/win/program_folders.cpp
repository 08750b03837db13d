#include "shell/win/program_folders.h"

#include "base/win/utf16.h"
#include "shell/win/win_folder_system.h"

namespace lumetra::win {

std::filesystem::path pathFromUtf8(const std::string& text) {
    return std::filesystem::path(toUtf16(text));
}

std::string utf8FromPath(const std::filesystem::path& path) {
    return toUtf8(path.native());
}

lumetra::ProgramFolders toCoreFolders(const ProgramFolders& f) {
    return lumetra::ProgramFolders{utf8FromPath(f.baseFolder),      utf8FromPath(f.imageFolder),
                                   utf8FromPath(f.filterFolder),    utf8FromPath(f.undoFolder),
                                   utf8FromPath(f.soundfileFolder), utf8FromPath(f.analysesFolder)};
}

ProgramFolders fromCoreFolders(const lumetra::ProgramFolders& f) {
    return ProgramFolders{pathFromUtf8(f.baseFolder),      pathFromUtf8(f.imageFolder),
                          pathFromUtf8(f.filterFolder),    pathFromUtf8(f.undoFolder),
                          pathFromUtf8(f.soundfileFolder), pathFromUtf8(f.analysesFolder)};
}

std::filesystem::path folderOf(const std::filesystem::path& path) {
    return pathFromUtf8(folderOfPath(utf8FromPath(path)));
}

void settleFolders(ProgramFolders& folders, FolderSystem& system) {
    lumetra::ProgramFolders core = toCoreFolders(folders);
    lumetra::settleFolders(core, system);
    folders = fromCoreFolders(core);
}

void settleFolders(ProgramFolders& folders) {
    WinFolderSystem system;
    settleFolders(folders, system);
}

}  // namespace lumetra::win
