#pragma once
// The rules around the file dialogs and the folder browser that do not need a window: what each
// dialog shows and where it starts, which folder a browser may return, and the folder commands
// "Set Image &Browser Root Folder..." (402) and "Set Soundfile &Folder..." (412).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/path_text.h"
#include "shell/program_folders.h"

namespace lumetra {

enum class FileDialogKind { OpenBitmap, SaveBitmap, SaveSound, OpenSound };

struct FileFilter {
    std::string_view description;
    std::string_view pattern;
};

struct FileDialogSpec {
    bool save = false;
    std::string_view title;
    std::vector<FileFilter> filters;
    std::string_view defaultExtension;  // empty: none
    bool fileMustExist = false;
    bool overwritePrompt = false;
    bool hideReadOnly = false;
};

FileDialogSpec fileDialogSpec(FileDialogKind kind);

// Where a dialog starts and what its file-name field holds, from the folders and the two shared
// buffers as the caller filled them (the save-bitmap dialog starts in the folder of the path in
// the file-name buffer; the save-sound dialog offers the name in the file-title buffer).
struct FileDialogStart {
    std::filesystem::path folder;
    std::string fileName;
};
FileDialogStart fileDialogStart(FileDialogKind kind, const ProgramFolders& folders,
                                std::string_view fileNameBuffer, std::string_view fileTitleBuffer);

// Whether two folder paths name the same folder as the folder browser compares them: letter case,
// separator style and a trailing separator do not count.
bool sameFolder(std::string_view a, std::string_view b);

// The folder browser's title and the folder it edits for commands 402 and 412; nullopt for any
// other command.
struct FolderCommand {
    std::string_view title;
    std::string_view statusPrefix;
    std::filesystem::path ProgramFolders::*folder;
};
std::optional<FolderCommand> folderCommand(int command);

// Takes the folder browser's choice for a folder command. Returns the status text to show when
// the folder changed; nullopt (and nothing changes) when the choice has no drive letter or names
// the folder already set. The path is taken as the browser gives it, without a trailing
// separator; the users of these folders add one.
std::optional<std::string> applyFolderChoice(int command, ProgramFolders& folders,
                                             std::string_view chosen);

}  // namespace lumetra
