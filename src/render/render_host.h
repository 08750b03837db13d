#pragma once
// The outside world as the render engine sees it. The Win32 program implements it with the status
// bar, the message queue, the keyboard and the message boxes; the batch renderer and the tests
// implement it without any window.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/local_time.h"
#include "base/user_interface.h"

namespace lumetra {

// The system's own number and text for the last failed call (errno / GetLastError).
struct SystemError {
    int code = 0;
    std::string text;
};

class RenderHost {
  public:
    virtual ~RenderHost() = default;

    // Status bar: part 0 messages, part 1 progress, part 2 pointer readout. UTF-8 texts.
    virtual void setStatusText(int part, const std::string& text) = 0;
    // Repaints the status bar at once (the render keeps the message loop waiting).
    virtual void updateStatusBar() = 0;
    // Handles at most one pending message of the thread; mouse input is thrown away.
    virtual void pumpOneMessage() = 0;
    // True while the Esc key is held down.
    virtual bool isEscapeHeld() = 0;
    // Milliseconds since an arbitrary start; wraps around after 2^32.
    virtual std::uint32_t tickCount() = 0;
    virtual LocalTime localTime() = 0;

    // A warning box with an OK button.
    virtual void showWarning(const std::string& text, const std::string& caption) = 0;
    // A question box; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;
    // The program's save-sound file dialog with `suggestedName` in its name field; nullopt when
    // cancelled. A relative answer is taken inside the soundfile folder.
    virtual std::optional<std::filesystem::path> askSaveSoundPath(
        const std::string& suggestedName) = 0;

    // The system's error number and text for the last failed file operation.
    virtual SystemError lastSystemError() = 0;
};

}  // namespace lumetra
