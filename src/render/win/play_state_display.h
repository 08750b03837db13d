#pragma once
// What the main window shows of a running playback: the menu item that turns from Play (320)
// into Stop (322) and back, and the pressed Play button of the toolbar.

#include <windows.h>

namespace lumetra::win {

// Playing: the menu item 320 becomes 322 with the text "Stop sound playback" and the toolbar's
// Play button is shown pressed. Not playing: 322 becomes 320 with the text "Play last generated
// sound" and the button is released. Either may be null; an item that is already swapped stays.
void showPlayState(HMENU menu, HWND toolbar, bool playing);

}  // namespace lumetra::win
