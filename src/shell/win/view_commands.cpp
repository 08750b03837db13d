// The display and window commands: the brighter display, the selection styles, the tools, the
// toolbar and the tool windows.

#include <windows.h>

#include <commctrl.h>

#include "shell/win/commands.h"
#include "shell/win/main_window.h"
#include "shell/win/program.h"
#include "shell/win/render_runtime.h"
#include "shell/win/toolbar.h"

namespace lumetra::win {
namespace {

void selectTool(Program& program, int tool) {
    program.currentTool = tool;
    program.currentCursor = toolCursor(program, tool);
    SetCursor(program.currentCursor);
    checkToolButton(program.toolbar, tool);
}

void displayChanged(Program& program) {
    if (program.canvas) program.canvas->displayChanged();
}

}  // namespace

void showBrighterCommand(Program& program, int) {
    ShellOptions& options = program.settings.shell;
    const bool wasOn = options.showBrighter != 0;
    bool on = !wasOn;
    if (HWND toolbar = program.toolbar) {
        // A click has already switched the button; a command from elsewhere (a key) finds the
        // button as it was and switches it here.
        LRESULT state = SendMessageW(toolbar, TB_GETSTATE, IDM_SHOW_BRIGHTER, 0);
        const bool buttonOn = state >= 0 && (state & TBSTATE_CHECKED) != 0;
        if (buttonOn != wasOn) {
            on = buttonOn;
        } else {
            SendMessageW(toolbar, TB_CHECKBUTTON, IDM_SHOW_BRIGHTER, MAKELPARAM(on, 0));
        }
    }
    options.showBrighter = on ? 1 : 0;
    options.dragDecoration = decorationAfterBrighterToggle(int(options.selectionStyle), on);
    displayChanged(program);
}

void selectionStyleCommand(Program& program, int id) {
    ShellOptions& options = program.settings.shell;
    options.selectionStyle = id == IDM_SELECTION_OUTLINE    ? SelectionStyle::OutlineOnly
                             : id == IDM_SELECTION_INVERTED ? SelectionStyle::Inverted
                                                            : SelectionStyle::Brighten;
    options.dragDecoration =
        decorationForStyle(int(options.selectionStyle), options.showBrighter != 0);
    displayChanged(program);
}

void selectToolCommand(Program& program, int id) {
    selectTool(program, id);
}

void toolbarCommand(Program& program, int) {
    HWND toolbar = program.toolbar;
    if (!toolbar) return;
    if (IsWindowVisible(toolbar)) {
        ShowWindow(toolbar, SW_HIDE);
        selectTool(program, IDM_TOOL_BRUSH);
    } else {
        ShowWindow(toolbar, SW_SHOW);
    }
    RECT client{};
    GetClientRect(program.mainWindow, &client);
    PostMessageW(program.mainWindow, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(client.right, client.bottom));
}

void toolWindowCommand(Program& program, int id) {
    ToolWindow* window = toolWindowOf(program.tools, id);
    if (!window || !window->window()) return;
    if (window->isOpen()) {
        ShowWindow(window->window(), SW_HIDE);
    } else {
        window->show();
    }
    if (id == IDM_RENDER_OPTIONS_WINDOW) {
        // The scale follows the current sample rate and the image's high pitch.
        RenderSettings& settings = program.document.current().settings;
        checkNyquistFor(program, settings.highFrequency);
        prepareImageOscillators(program, settings);
        program.document.changed(kPrepared);
    }
}

void hideToolWindowCommand(Program& program, int) {
    HWND active = GetActiveWindow();
    const ToolWindows& t = program.tools;
    for (ToolWindow* w :
         {static_cast<ToolWindow*>(t.brush.get()), static_cast<ToolWindow*>(t.echord.get()),
          static_cast<ToolWindow*>(t.browser.get())}) {
        if (w && active && w->window() == active) ShowWindow(active, SW_HIDE);
    }
}

}  // namespace lumetra::win
