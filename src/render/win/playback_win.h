#pragma once
// Playback of the latest sound through the system's wave-out device: the device and interface
// ports of the playback ring, the ring itself, and what the shell asks of it.

#include <windows.h>

namespace lumetra::win {

// Finds the devices (a machine without any is told so once) and allocates the buffer ring.
// False when the buffers cannot be had.
bool startPlaybackRuntime();

bool playbackRunning();  // the device is in use for the latest sound
bool playbackPlaying();  // buffers are being refilled
// Stops a running playback before a render; false when the device did not let go in time.
bool stopPlaybackForRender();
// Plays the new sound once after a render.
void playAfterRender();
// The Play (320) and Stop (322) commands.
void playCommand(int command);
// A buffer came back from the device (message 957 with the device and the buffer's header).
void onBufferDone(WPARAM wParam, LPARAM lParam);
// At shutdown: stops the device and waits for it, then closes it.
void stopPlaybackAtExit();

}  // namespace lumetra::win
