// The menu state update on the running program: gathers the state and applies it.

#include "image/win/canvas_window.h"
#include "render/win/render_flow.h"
#include "shell/win/app_state.h"
#include "shell/win/menu_state.h"
#include "shell/win/recent_files.h"
#include "shell/win/tool_windows.h"

namespace lumetra::win {

MenuStateInput currentMenuStateInput() {
    const AppState& s = appState();
    MenuStateInput in;
    in.playbackActive = playbackActive();
    in.soundfileOpen = soundfileOpen();
    in.soundLength = latestSoundLength();
    in.options = s.options;
    if (s.canvasRecord) {
        const ImageDocument& d = s.canvasRecord->document();
        in.hasUndoImage = !d.undo.pixels.empty();
        in.hasPath = !d.path.empty();
    }
    in.clipboardHasDib = IsClipboardFormatAvailable(CF_DIB) != FALSE;
    in.toolbarVisible = s.toolbar && IsWindowVisible(s.toolbar);
    in.brushOpen = isToolWindowOpen(s.tools.brush);
    in.echordOpen = isToolWindowOpen(s.tools.echord);
    in.browserOpen = isToolWindowOpen(s.tools.browser);
    in.renderOptionsOpen = isToolWindowOpen(s.tools.renderOptions);
    return in;
}

void updateMenuState(HMENU menu) {
    applyMenuStates(menu, computeMenuStates(currentMenuStateInput()));
    updateRecentFilesMenu(menu);
}

}  // namespace lumetra::win
