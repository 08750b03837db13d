#pragma once
// Playback of the latest sound through the system's wave-out device: the device and interface
// ports of the playback ring, the ring itself, and what the shell asks of it.

#include <windows.h>

#include "render/wave_devices.h"

namespace lumetra::win {

class CanvasWindow;

// Finds the devices (a machine without any is told so once) and allocates the buffer ring for
// the loaded sound options; the device's completion messages go to the main window. False when
// the buffers cannot be had.
bool startPlaybackRuntime();

bool playbackRunning();     // the device is in use for the latest sound
bool playbackPlaying();     // buffers are being refilled
bool playbackDeviceOpen();  // the device is open (it closes when the last buffer is back)
// The devices found at start.
const WaveDeviceList& playbackDevices();

// Stops a running playback before a render; false when the device did not let go in time.
bool stopPlaybackForRender();
// Plays the new sound once after a render.
void playAfterRender();
// The Play (320) and Stop (322) commands.
void playCommand(int command);
// A buffer came back from the device (message 957: wParam the device, lParam the header).
void onBufferDone(WPARAM device, LPARAM header);
// At shutdown: stops the device and waits for it, closes it, and lets go of the device and
// then of the buffers.
void stopPlaybackAtExit();

// "&Soundcard && Sample Rate..." (420): the options dialog over the program's sound options,
// then the Nyquist check and the oscillators of the picture for the (new) sample rate. Nothing
// happens while the device is in use (its headers point into the buffers) or a sound file is
// being written. True when the dialog was confirmed and the new options took effect.
bool soundOptionsCommand(CanvasWindow& canvas);

}  // namespace lumetra::win
