#pragma once
// Where the program keeps and looks for its files, settled once at start from the stored folder
// settings and the folders beside the program. Paths are Windows-style UTF-8 text.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumetra {

inline constexpr std::size_t kMaxFolderLength = 255;  // characters, as the folder fields hold

struct ProgramFolders {
    std::string baseFolder;       // the program's own folder, with a trailing backslash
    std::string imageFolder;      // stored as "Directories\" "Image"
    std::string filterFolder;     // "Filter": the image browser's root
    std::string undoFolder;       // baseFolder + "Undo\"
    std::string soundfileFolder;  // "Soundfile": ends in a backslash after start
    std::string analysesFolder;   // "Analysed sounds"

    friend bool operator==(const ProgramFolders&, const ProgramFolders&) = default;
};

struct EntryAttributes {
    bool directory = false;
    bool readOnly = false;
};

// The file-system and process facts that settling the folders needs.
class FolderSystem {
  public:
    virtual ~FolderSystem() = default;
    // Full path of the program file; nullopt when it cannot be had.
    virtual std::optional<std::string> modulePath() = 0;
    virtual std::optional<std::string> currentDirectory() = 0;
    // nullopt when nothing of that name exists.
    virtual std::optional<EntryAttributes> attributes(const std::string& path) = 0;
    // Creates the last level of `path`; false when it could not (existing, parent missing, ...).
    virtual bool createDirectory(const std::string& path) = 0;
    // nullopt when the variable is not set.
    virtual std::optional<std::string> environmentVariable(const std::string& name) = 0;
};

inline constexpr std::string_view kSoundfileFolderVariable = "SFDIR";

// Settles every folder in turn: the stored ones are kept when they name a writable folder,
// others get their defaults below the program's folder, which are created when missing.
void settleFolders(ProgramFolders& folders, FolderSystem& system);

// Appends "\" unless the path already ends in a separator. An empty path stays empty (it means
// the current folder; a lone "\" would mean the root of the drive).
std::string ensureTrailingBackslash(std::string_view path);

// The drive and folder part of a path, ending in its separator: "C:\Images\a.bmp" gives
// "C:\Images\"; "a.bmp" gives "".
std::string folderOfPath(std::string_view path);

}  // namespace lumetra
