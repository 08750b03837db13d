#pragma once
// The command dispatcher: every menu command, accelerator and toolbar button of the main window
// arrives here with its command id.

#include <filesystem>
#include <string>

namespace lumetra::win {

class CanvasWindow;

// Runs command `id` on the canvas; an id without a command does nothing.
void executeCommand(CanvasWindow* canvas, int id);

// True when `id` is a command that may run while a render is in progress (display and window
// toggles); everything else waits for the render to end.
bool allowedDuringRender(int id);

// Commands whose features are not part of the program yet land here and do nothing.
void commandNotYetAvailable(int id);

// The file commands (file_commands.cpp).
void openImageCommand(CanvasWindow& canvas);
// Opens `path` as the open command does after its dialog. `displayName` becomes the title.
bool openImagePath(CanvasWindow& canvas, const std::filesystem::path& path,
                   const std::wstring& displayName, bool takeUndoSnapshot);
void refreshFromFileCommand(CanvasWindow& canvas);
void saveImageCommand(CanvasWindow& canvas);
void saveImageAsCommand(CanvasWindow& canvas);
// Saves to `path` as Save Image As does after its dialog; false when the write failed.
bool saveImageAsPath(CanvasWindow& canvas, const std::filesystem::path& path,
                     const std::wstring& title);
void saveSoundAsCommand(CanvasWindow& canvas);

// New Image (new_image_dialog.cpp) and About (about_dialog.cpp).
void newImageCommand(CanvasWindow& canvas);
void aboutCommand();

}  // namespace lumetra::win
