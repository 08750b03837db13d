#pragma once
// The folders the program keeps and looks for its files in, settled once at start by the core's
// rules over the Windows file system, and the conversions between the program's folder paths and
// the core's UTF-8 folder strings (which the settings store keeps).

#include <filesystem>
#include <string>

#include "shell/program_folders.h"
#include "shell/win/app_state.h"

namespace lumetra::win {

// Fills the empty or unusable folder fields with their defaults below the program's folder and
// creates the default folders that are missing; "SFDIR" names the soundfile folder when none is
// stored.
void settleFolders(ProgramFolders& folders);
// The same over any folder system (tests pass their own).
void settleFolders(ProgramFolders& folders, FolderSystem& system);

// The folder part of a path with a trailing separator ("C:\Images\a.bmp" -> "C:\Images\").
std::filesystem::path folderOf(const std::filesystem::path& path);

// A path from UTF-8 text and back, without any code-page conversion on the way.
std::filesystem::path pathFromUtf8(const std::string& text);
std::string utf8FromPath(const std::filesystem::path& path);

lumetra::ProgramFolders toCoreFolders(const ProgramFolders& folders);
ProgramFolders fromCoreFolders(const lumetra::ProgramFolders& folders);

}  // namespace lumetra::win
