#pragma once
// The render commands as the shell runs them (toolbar feedback, wait cursor, playback after the
// render) and what the rest of the program asks about the latest sound.

#include <windows.h>

#include <cstdint>

#include "image/win/canvas_window.h"

namespace lumetra::win {

// Commands 300 to 303.
void runRenderFlow(CanvasWindow& canvas, int command);

bool playbackActive();
// True while a render writes its sound file.
bool soundfileOpen();
// Number of 16-bit values in the latest sound.
std::int64_t latestSoundLength();
// The latest sound as the play-position display needs it.
PlayMarkerSource playMarkerSource();

// The wave-out device's buffer-done message, posted to the main window.
inline constexpr UINT kWaveOutDone = 957;
void onWaveOutDone(WPARAM wParam, LPARAM lParam);

// The render's link to the interface: take one pending message (mouse input is dropped) and
// whether Esc is held down.
void pumpOneMessage();
bool escapeHeld();

}  // namespace lumetra::win
