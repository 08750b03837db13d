#include "shell/win/render_flow.h"

#include <windows.h>

#include <commctrl.h>

#include "base/scoped_flag.h"
#include "shell/win/playback_runtime.h"
#include "shell/win/program.h"
#include "shell/win/render_runtime.h"

namespace lumetra::win {
namespace {

void setToolbarFeedback(HWND toolbar, int pressed, int opposite, bool on) {
    if (!toolbar) return;
    SendMessageW(toolbar, TB_CHECKBUTTON, WPARAM(pressed), MAKELPARAM(on ? TRUE : FALSE, 0));
    SendMessageW(toolbar, TB_ENABLEBUTTON, WPARAM(opposite), MAKELPARAM(on ? FALSE : TRUE, 0));
    UpdateWindow(toolbar);
}

}  // namespace

void renderCommand(Program& program, int command) {
    // A render command that arrives through the render's own message pump is ignored.
    if (program.renderRunning) return;
    if (!stopPlaybackForRender(program)) {
        program.ui.setStatus(0, L"Failed to quit playback... try again");
        return;
    }
    const int pressed = (command == IDM_RENDER_IMAGE || command == IDM_RENDER_SELECTION)
                            ? IDM_RENDER_IMAGE
                            : IDM_RENDER_WITHOUT_BLUE;
    const int opposite = pressed == IDM_RENDER_IMAGE ? IDM_RENDER_WITHOUT_BLUE : IDM_RENDER_IMAGE;
    setToolbarFeedback(program.toolbar, pressed, opposite, true);

    program.currentCursor = LoadCursorW(nullptr, IDC_WAIT);
    SetCursor(program.currentCursor);
    bool complete = false;
    {
        // The tool windows edit the settings the render reads; they wait until it has finished.
        ModalScope held(program.tools);
        ScopedFlag running(program.renderRunning);
        complete = renderDocument(program, command);
    }
    program.currentCursor = toolCursor(program, program.currentTool);
    SetCursor(program.currentCursor);

    if (GetForegroundWindow() != program.mainWindow) {
        SetForegroundWindow(program.mainWindow);
        keepToolWindowsAboveOwner(program.tools);
    }
    if (complete) playAfterRender(program);
    setToolbarFeedback(program.toolbar, pressed, opposite, false);
    if (program.closeAfterRender) PostMessageW(program.mainWindow, WM_CLOSE, 0, 0);
}

}  // namespace lumetra::win
