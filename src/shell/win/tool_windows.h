#pragma once
// The program's four modeless tool windows (brush, Echord, image browser, render options): their
// records, which outlive their windows, and what is done to all of them at once.

#include <windows.h>

#include <memory>

#include "base/win/tool_window.h"
#include "browser/win/browser_window.h"
#include "document/win/render_options_window.h"
#include "tools/win/brush_window.h"
#include "tools/win/echord_window.h"

namespace lumetra::win {

struct Program;

struct ToolWindows {
    std::unique_ptr<BrushWindow> brush;
    std::unique_ptr<BrowserWindow> browser;
    std::unique_ptr<EchordWindow> echord;
    std::unique_ptr<RenderOptionsWindow> renderOptions;
    // The tool window that has the activation: the message loop gives it the dialog keys.
    HWND active = nullptr;
    bool enabled = false;
};

// The brush, browser and Echord windows at their stored places; false after the fatal error
// that a missing image browser is.
bool createToolWindows(Program& program);
// The render options window comes last, after the canvas shows its first picture.
void createRenderOptionsWindow(Program& program);
// Each window as it was left at the last exit.
void showToolWindowsAsLeft(Program& program);
// The settings keep where the windows stand at exit, so they are asked before the save.
void recordToolPlacements(ToolWindows& tools);
void destroyToolWindows(ToolWindows& tools);

// Enables or disables the four together and records the flag.
void enableToolWindows(ToolWindows& tools, bool enable);

// Disables the tool windows for one modal box or dialog and afterwards puts back what was
// before: a box during a render leaves them to the render, which keeps them disabled until it
// ends (they edit the settings it reads).
class ModalScope {
  public:
    explicit ModalScope(ToolWindows& tools);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

  private:
    ToolWindows& tools_;
    bool wereEnabled_;
};

// Puts the visible tool windows back above the main window. The platform keeps owned windows
// above their owner; Wine without a window manager lets an activated owner cover them.
void keepToolWindowsAboveOwner(const ToolWindows& tools);

// The tool window that has the activation, or null.
ToolWindow* activeToolWindow(const ToolWindows& tools);

// The tool window of a toggle command (502 brush, 503 Echord, 504 browser, 408 render
// options); null for other ids or before the window exists.
ToolWindow* toolWindowOf(const ToolWindows& tools, int command);

}  // namespace lumetra::win
