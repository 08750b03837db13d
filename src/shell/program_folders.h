#pragma once
// Where the program keeps and looks for its files, settled once at start from the stored folder
// settings and the folders beside the program. The folders are Windows-style paths; their rules
// (trailing backslashes, the 255-character limit of the folder fields) work on the paths' UTF-8
// text.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace lumetra {

inline constexpr std::size_t kMaxFolderLength = 255;  // characters, as the folder fields hold

struct ProgramFolders {
    std::filesystem::path baseFolder;       // the program's own folder, with a trailing backslash
    std::filesystem::path imageFolder;      // stored as "Directories\" "Image"
    std::filesystem::path filterFolder;     // "Filter": the image browser's root
    std::filesystem::path undoFolder;       // baseFolder + "Undo\"
    std::filesystem::path soundfileFolder;  // "Soundfile": ends in a backslash after start
    std::filesystem::path analysesFolder;   // "Analysed sounds"

    friend bool operator==(const ProgramFolders&, const ProgramFolders&) = default;
};

inline constexpr std::string_view kSoundfileFolderVariable = "SFDIR";

// Settles every folder in turn: the stored ones are kept when they name a writable folder,
// others get their defaults below the program's folder (the module's folder, else the current
// directory), which are created when missing.
void settleFolders(ProgramFolders& folders, FileSystem& files);

// Appends "\" unless the path already ends in a separator. An empty path stays empty (it means
// the current folder; a lone "\" would mean the root of the drive).
std::string ensureTrailingBackslash(std::string_view path);

// The drive and folder part of a path, ending in its separator: "C:\Images\a.bmp" gives
// "C:\Images\"; "a.bmp" gives "".
std::string folderOfPath(std::string_view path);

}  // namespace lumetra
