#include "shell/win/settings.h"

#include "image/win/canvas_view.h"
#include "shell/win/app_state.h"

namespace lumetra::win {

// The settings store arrives later; until then every run starts from the defaults and nothing
// is kept.
void loadSettings() {
    AppState& s = appState();
    s.layout = defaultWindowLayout();
    s.sound.stereo = 1;
    s.dragDecoration = int(s.options.selectionStyle) | kDecorationOutline;
}

void saveSettings() {}

}  // namespace lumetra::win
