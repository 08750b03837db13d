#pragma once
// The program-wide state of the Win32 program: its windows, the shell options and the defaults
// that live for the whole run. One instance, reached through appState(); the functions that work
// on it are free functions in the files beside this one.

#include <windows.h>

#include <filesystem>
#include <string>

#include "render/render_settings.h"
#include "render/sound_options.h"
#include "shell/shell_options.h"
#include "shell/win/ids.h"
#include "base/win/unique_handle.h"
#include "shell/window_layout.h"

namespace lumetra::win {

class CanvasWindow;

struct ToolWindowSet {
    HWND brush = nullptr;
    HWND browser = nullptr;
    HWND echord = nullptr;
    HWND renderOptions = nullptr;
};

// Where the windows stand at start and where they were left: the core's record (x, y in screen
// pixels; show states 0 hidden, 5 shown, 6 rolled up; the browser's `browserBottom` is a screen
// coordinate).
using WindowLayout = lumetra::WindowLayout;

// The layout a first start uses: every default follows from the main window's rectangle.
WindowLayout defaultWindowLayout();

struct ProgramFolders {
    std::filesystem::path baseFolder;
    std::filesystem::path imageFolder;
    std::filesystem::path filterFolder;
    std::filesystem::path undoFolder;
    std::filesystem::path soundfileFolder;
    std::filesystem::path analysesFolder;
};

struct AppState {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    HWND toolbar = nullptr;
    HWND statusBar = nullptr;
    HWND canvas = nullptr;
    CanvasWindow* canvasRecord = nullptr;
    ToolWindowSet tools;
    HWND activeToolWindow = nullptr;
    bool toolWindowsEnabled = false;
    HACCEL accelerators = nullptr;

    int currentTool = IDM_TOOL_BRUSH;
    HCURSOR currentCursor = nullptr;

    ShellOptions options;
    int dragDecoration = 5;  // DragDecoration bits: 1 brighten, 2 invert, 4 dotted outline
    RenderSettings defaultSettings;
    SoundOptions sound;
    WindowLayout layout;
    ProgramFolders folders;

    std::wstring startTitle;
    bool renderRunning = false;
    bool closeAfterRender = false;  // a close asked for during a render waits for its end
    bool shutdownDone = false;
    UniqueFont boldDialogFont;  // shared by setDialogItemBold
    UniqueImageList toolbarImages;
    std::wstring tooltipText;  // the answer to the last tooltip request stays alive here
};

AppState& appState();

// The cursor resource of a tool command (323, 324, 326, 329, 330), or the arrow when the
// resource is missing.
HCURSOR toolCursor(int id);

}  // namespace lumetra::win
