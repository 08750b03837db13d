#pragma once
// The folders the program keeps and looks for its files in, settled once at start.

#include <filesystem>

#include "shell/win/app_state.h"

namespace lumetra::win {

// Fills the empty or unusable folder fields with their defaults below the program's folder and
// creates the default folders that are missing.
void settleFolders(ProgramFolders& folders);

// The folder part of a path with a trailing separator ("C:\Images\a.bmp" -> "C:\Images\").
std::filesystem::path folderOf(const std::filesystem::path& path);

}  // namespace lumetra::win
