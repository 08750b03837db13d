#include "shell/win/commands.h"

#include <windows.h>

#include <commctrl.h>

#include "image/win/canvas_view.h"
#include "image/win/canvas_window.h"
#include "image/win/delete_command.h"
#include "image/win/undo_ring.h"
#include "render/win/playback_win.h"
#include "render/win/render_bridge.h"
#include "render/win/render_flow.h"
#include "render/win/render_options_window.h"
#include "shell/win/app_state.h"
#include "shell/win/folder_browser.h"
#include "shell/win/ids.h"
#include "shell/win/main_window.h"
#include "shell/win/recent_files.h"
#include "shell/win/tool_windows.h"
#include "shell/win/toolbar.h"

namespace lumetra::win {
namespace {

void flip(std::int32_t& option) {
    option = option ? 0 : 1;
}

void toggleToolWindow(HWND window) {
    if (!window) return;
    if (isToolWindowOpen(window)) {
        ShowWindow(window, SW_HIDE);
    } else {
        showToolWindow(window);
    }
}

void selectTool(int tool) {
    AppState& s = appState();
    s.currentTool = tool;
    s.currentCursor = toolCursor(tool);
    SetCursor(s.currentCursor);
    checkToolButton(s.toolbar, tool);
}

void toggleToolbar() {
    AppState& s = appState();
    if (!s.toolbar) return;
    if (IsWindowVisible(s.toolbar)) {
        ShowWindow(s.toolbar, SW_HIDE);
        selectTool(IDM_TOOL_BRUSH);
    } else {
        ShowWindow(s.toolbar, SW_SHOW);
    }
    RECT client{};
    GetClientRect(s.mainWindow, &client);
    PostMessageW(s.mainWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void setSelectionStyle(CanvasWindow* canvas, SelectionStyle style) {
    AppState& s = appState();
    s.options.selectionStyle = style;
    s.dragDecoration = decorationForStyle(int(style), s.options.showBrighter != 0);
    if (canvas) canvas->displayChanged();
}

void toggleShowBrighter(CanvasWindow* canvas) {
    AppState& s = appState();
    const bool wasOn = s.options.showBrighter != 0;
    bool on = !wasOn;
    if (s.toolbar) {
        // A click has already switched the button; a command from elsewhere (a key, a test
        // driver) finds the button as it was and switches it here.
        LRESULT state = SendMessageW(s.toolbar, TB_GETSTATE, IDM_SHOW_BRIGHTER, 0);
        const bool buttonOn = state >= 0 && (state & TBSTATE_CHECKED) != 0;
        if (buttonOn != wasOn) {
            on = buttonOn;
        } else {
            SendMessageW(s.toolbar, TB_CHECKBUTTON, IDM_SHOW_BRIGHTER, MAKELPARAM(on, 0));
        }
    }
    s.options.showBrighter = on ? 1 : 0;
    s.dragDecoration = decorationAfterBrighterToggle(int(s.options.selectionStyle), on);
    if (canvas) canvas->displayChanged();
}

void hideActiveToolWindow() {
    AppState& s = appState();
    HWND active = GetActiveWindow();
    if (active &&
        (active == s.tools.brush || active == s.tools.echord || active == s.tools.browser)) {
        ShowWindow(active, SW_HIDE);
    }
}

void openRecentFile(CanvasWindow& canvas, int index) {
    std::wstring path = recentFilePath(index);
    if (path.empty()) return;
    // The entry holds the short form; the title shows the long name, as the menu does.
    openImagePath(canvas, std::filesystem::path(path), recentFileName(index), false);
}

}  // namespace

bool allowedDuringRender(int id) {
    switch (id) {
        case IDM_SHOW_BRIGHTER:
        case IDM_SELECTION_OUTLINE:
        case IDM_SELECTION_BRIGHTEN:
        case IDM_SELECTION_INVERTED:
        case IDM_TOOLBAR:
        case IDM_BRUSH_WINDOW:
        case IDM_ECHORD_WINDOW:
        case IDM_BROWSER_WINDOW:
        case IDM_HIDE_TOOL_WINDOW:
            return true;
        default:
            return false;
    }
}

void commandNotYetAvailable(int) {}

void executeCommand(CanvasWindow* canvas, int id) {
    AppState& s = appState();
    if (!canvas) return;
    if (s.renderRunning && !allowedDuringRender(id)) {
        // Exit during a render closes the window once the render is over.
        if (id == IDM_EXIT) s.closeAfterRender = true;
        return;
    }
    if (id >= IDM_RECENT_FIRST && id <= IDM_RECENT_LAST) {
        openRecentFile(*canvas, id - IDM_RECENT_FIRST);
        return;
    }
    switch (id) {
        case IDM_NEW_IMAGE:
            newImageCommand(*canvas);
            break;
        case IDM_OPEN_IMAGE:
            openImageCommand(*canvas);
            break;
        case IDM_REFRESH_FROM_FILE:
            refreshFromFileCommand(*canvas);
            break;
        case IDM_SAVE_IMAGE:
            saveImageCommand(*canvas);
            break;
        case IDM_SAVE_IMAGE_AS:
            saveImageAsCommand(*canvas);
            break;
        case IDM_SAVE_SOUND_AS:
            saveSoundAsCommand(*canvas);
            break;
        case IDM_EXIT:
            PostMessageW(s.mainWindow, WM_CLOSE, 0, 0);
            break;
        case IDM_RENDER_IMAGE:
        case IDM_RENDER_SELECTION:
        case IDM_RENDER_WITHOUT_BLUE:
        case IDM_RENDER_SELECTION_WITHOUT_BLUE:
            runRenderFlow(*canvas, id);
            break;
        case IDM_ATTACH_RENDER_INFO:
            flip(s.options.attachRenderInfo);
            break;
        case IDM_SAVE_SOUND_EVERY_RENDER:
            flip(s.options.soundfile.saveSoundEveryRender);
            break;
        case IDM_SOUNDFILE_NAMED_AFTER_IMAGE:
            flip(s.options.soundfile.soundfileNamedAfterImage);
            break;
        case IDM_NUMBER_SOUNDFILES:
            flip(s.options.soundfile.numberSoundfiles);
            break;
        case IDM_SELECTION_OUTLINE:
            setSelectionStyle(canvas, SelectionStyle::OutlineOnly);
            break;
        case IDM_SELECTION_BRIGHTEN:
            setSelectionStyle(canvas, SelectionStyle::Brighten);
            break;
        case IDM_SELECTION_INVERTED:
            setSelectionStyle(canvas, SelectionStyle::Inverted);
            break;
        case IDM_SHOW_BRIGHTER:
            toggleShowBrighter(canvas);
            break;
        case IDM_TOOL_BRUSH:
        case IDM_TOOL_MOVE:
        case IDM_TOOL_ZOOM_ROTATE:
        case IDM_TOOL_SKEW_FLIP:
            selectTool(id);
            break;
        case IDM_TOOLBAR:
            toggleToolbar();
            break;
        case IDM_BRUSH_WINDOW:
            toggleToolWindow(s.tools.brush);
            break;
        case IDM_ECHORD_WINDOW:
            toggleToolWindow(s.tools.echord);
            break;
        case IDM_BROWSER_WINDOW:
            toggleToolWindow(s.tools.browser);
            break;
        case IDM_RENDER_OPTIONS_WINDOW:
            toggleToolWindow(s.tools.renderOptions);
            // The scale follows the current sample rate and the image's high pitch.
            checkNyquistFor(canvas->document().current.settings.highFrequency);
            prepareImageOscillators(canvas->document().current.settings);
            refreshRenderOptionsWindow();
            break;
        case IDM_HIDE_TOOL_WINDOW:
            hideActiveToolWindow();
            break;
        case IDM_ABOUT:
            aboutCommand();
            break;
        case IDM_PLAY:
        case IDM_STOP_PLAYBACK:
            playCommand(id);
            break;
        case IDM_SOUNDCARD_OPTIONS:
            soundOptionsCommand(*canvas);
            break;
        case IDM_UNDO:
        case IDM_REDO:
            undoCommand(*canvas, id);
            break;
        case IDM_DELETE:
            deleteCommand(*canvas);
            break;
        case IDM_SET_FILTER_FOLDER:
        case IDM_SET_SOUNDFILE_FOLDER:
            folderCommand(id);
            break;

        // Commands of features that are not part of the program yet.
        case IDM_HELP:
        case IDM_ANALYZE_SOUNDFILE:
        case IDM_CUT:
        case IDM_COPY:
        case IDM_PASTE:
        case IDM_PASTE_AS_OVERLAY:
        case IDM_FILTER_FROM_BROWSER:
        case IDM_PASTE_AS_FILTER:
        case IDM_OVERLAY_FROM_BROWSER:
        case IDM_FILTER_FROM_FILE:
        case IDM_OVERLAY_FROM_FILE:
        case IDM_APPLY_BRUSH:
        case IDM_APPLY_BOILER:
        case IDM_NORMALIZE:
        case IDM_BRIGHTEN:
        case IDM_DARKEN:
        case IDM_MORE_CONTRAST:
        case IDM_INVERT_COLORS:
        case IDM_CLEAR_EXCESS_BLUE:
        case IDM_MIRROR:
        case IDM_FLIP:
        case IDM_DOUBLE_HORIZONTALLY:
        case IDM_DOUBLE_VERTICALLY:
        case IDM_HALF_HORIZONTALLY:
        case IDM_HALF_VERTICALLY:
            commandNotYetAvailable(id);
            break;
        default:
            break;
    }
}

}  // namespace lumetra::win
