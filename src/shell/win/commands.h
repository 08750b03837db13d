#pragma once
// The handlers of the command table that are not part of a subsystem's own file. Each takes the
// program and the command id.

#include <filesystem>
#include <string>

namespace lumetra::win {

struct Program;

// File menu: Open Image (102), Refresh From File (103), Save Image (105), Save Image As (106),
// Save Sound As (107), Exit (113), the recent files (3400 to 3410).
void openImageCommand(Program& program, int id);
void refreshFromFileCommand(Program& program, int id);
void saveImageCommand(Program& program, int id);
void saveImageAsCommand(Program& program, int id);
void saveSoundAsCommand(Program& program, int id);
void exitCommand(Program& program, int id);
void openRecentCommand(Program& program, int id);
// Opens `path` as Open Image does after its dialog; `displayName` becomes the title.
bool openImagePath(Program& program, const std::filesystem::path& path,
                   const std::wstring& displayName, bool takeUndoSnapshot);
// Opens a picture of the image browser as a working copy: its path gets "_copy.bmp", so that
// saving never writes over the browser's file.
void openWorkingCopy(Program& program, const std::filesystem::path& file);

// Display and windows: the brighter display (256), the selection styles (257 to 259), the tools
// (323, 324, 326, 329), the toolbar (310), the tool windows (502 to 504, 408) and H (330).
void showBrighterCommand(Program& program, int id);
void selectionStyleCommand(Program& program, int id);
void selectToolCommand(Program& program, int id);
void toolbarCommand(Program& program, int id);
void toolWindowCommand(Program& program, int id);
void hideToolWindowCommand(Program& program, int id);

// Options: the switches 401, 413, 414, 415; the folders 402 and 412.
void optionSwitchCommand(Program& program, int id);
void folderCommand(Program& program, int id);

// View: Zoom In, Zoom Out, Actual Size, Fit Picture (270 to 273) and the rulers (274).
void zoomCommand(Program& program, int id);
void rulersCommand(Program& program, int id);
// Shows the rulers and zoom that the settings keep (at start).
void applyCanvasView(Program& program);
// How to begin, while the start picture is untouched (no file, no change, no sound); else empty.
// The main window shows it at start and whenever a menu closes.
std::wstring startHint(const Program& program);

// About (555).
void aboutCommand(Program& program, int id);

}  // namespace lumetra::win
