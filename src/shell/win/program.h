#pragma once
// The program object: everything the running program holds, owned in one place. wWinMain makes
// one; the main window reaches it through its creation parameter, the other windows through
// their records, and helpers take the part they need by reference. Tests make their own.

#include <windows.h>

#include <boost/noncopyable.hpp>

#include <memory>
#include <string>

#include "base/win/system_clock.h"
#include "base/win/unique_handle.h"
#include "base/win/win_file_system.h"
#include "document/document.h"
#include "imageops/transform_drag.h"
#include "resources/resource_ids.h"
#include "shell/settings_store.h"
#include "shell/win/document_views.h"
#include "shell/win/playback_runtime.h"
#include "shell/win/program_browser_host.h"
#include "shell/win/program_ui.h"
#include "shell/win/recent_files.h"
#include "shell/win/render_runtime.h"
#include "shell/win/tool_windows.h"
#include "shell/win/view_host.h"
#include "tools/paint_dab.h"

namespace lumetra::win {

class CanvasWindow;

// Where a Move or deformation drag began, and what it needs for the rest of the drag.
struct ToolDrag {
    DragPoint anchor;
    lumetra::DeformKind kind = lumetra::DeformKind::ZoomRotate;
    ScreenSize screen;
};

// A classic help file the help command opened, and the window it was opened for: the shutdown
// releases it. No file while none is open.
struct OpenHelpFile {
    HWND owner = nullptr;
    std::wstring file;
};

struct Program : private boost::noncopyable {
    explicit Program(HINSTANCE instance);
    ~Program();

    HINSTANCE instance = nullptr;
    // What outlives a run: loaded at start, saved at exit.
    PersistedSettings settings;

    // The program's ports to the world.
    WinFileSystem files;
    SystemClock clock;
    ProgramUi ui{*this};

    // The picture being edited with its undo ring, the views that follow its changes, and
    // what the program does with it.
    Document document;
    DocumentViews documentViews{*this};
    RenderRuntime render{files};
    PlaybackRuntime playback;
    RecentFiles recent{files};

    // Windows.
    HWND mainWindow = nullptr;
    HWND toolbar = nullptr;
    HWND statusBar = nullptr;
    ProgramViewHost viewHost{*this};
    ProgramBrowserHost browserHost{*this};
    std::unique_ptr<CanvasWindow> canvas;
    ToolWindows tools;
    HACCEL accelerators = nullptr;
    UniqueImageList toolbarImages;
    std::wstring startTitle;
    std::wstring tooltipText;  // the answer to the last tooltip request stays alive here

    // The moment's state.
    ToolDrag drag;    // the Move or deformation drag under way
    BrushTool brush;  // the brush of strokes and Apply Brush, and the boiler's scratch
    int currentTool = IDM_TOOL_BRUSH;
    HCURSOR currentCursor = nullptr;
    bool renderRunning = false;     // set for the render's scope by RenderRunning (render_flow)
    bool closeAfterRender = false;  // a close asked for during a render waits for its end
    bool shutdownDone = false;
    OpenHelpFile openHelp;
};

// The cursor resource of a tool command (323, 324, 326, 329, 330), or the arrow when the
// resource is missing.
HCURSOR toolCursor(const Program& program, int id);

}  // namespace lumetra::win
