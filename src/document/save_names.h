#pragma once
// The names a picture is saved under. The program writes only 24-bit BMP files, so a save must
// never put those bytes under a name that says another picture format: Save writes over the
// document's file only when that is a BMP file, and Save As gives a name without the ".bmp"
// ending that ending.

#include <filesystem>
#include <string>

namespace lumetra {

// True when the name ends in ".bmp" (any case).
bool isBmpName(const std::filesystem::path& path);

// The name a Save As writes: the typed one, with ".bmp" appended unless it ends so already
// ("mytest" and "mytest.jpg" become "mytest.bmp" and "mytest.jpg.bmp").
std::filesystem::path bmpSaveName(const std::filesystem::path& typed);

// The name Save As proposes for a picture read from another format: its display name with the
// last extension replaced by ".bmp" ("photo.jpg" -> "photo.bmp"); empty without a name.
std::string proposedBmpName(const std::string& displayName);

// The question before a changed picture is closed or replaced: "Save changes to NAME?", NAME the
// display name or "Untitled".
std::string saveChangesQuestion(const std::string& displayName);

// The line of status part 0 after a save.
std::string savedStatus(const std::string& displayName);

}  // namespace lumetra
