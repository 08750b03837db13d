#pragma once
// The render's own hold on the user-interface thread: while it renders, the program's message
// loop waits, so the render repaints the status bar, hands on one message per column, watches
// the Esc key, and asks for a file with the program's save-sound dialog. The Win32 program
// implements it with its window and dialog; the batch renderer and the tests without any window.
// Texts, boxes, time and files reach the render through the UserInterface, Clock and FileSystem
// ports beside it in the RenderContext.

#include <filesystem>
#include <optional>
#include <string>

namespace lumetra {

class RenderHost {
  public:
    virtual ~RenderHost() = default;

    // Repaints the status bar at once (the render keeps the message loop waiting).
    virtual void updateStatusBar() = 0;
    // Handles at most one pending message of the thread; mouse input is thrown away.
    virtual void pumpOneMessage() = 0;
    // True while the Esc key is held down.
    virtual bool isEscapeHeld() = 0;
    // The program's save-sound file dialog with `suggestedName` in its name field; nullopt when
    // cancelled. A relative answer is taken inside the soundfile folder.
    virtual std::optional<std::filesystem::path> askSaveSoundPath(
        const std::string& suggestedName) = 0;
};

}  // namespace lumetra
