#pragma once
// Playback of the latest sound through the system's wave-out device: the device and interface
// ports of the playback ring, the ring itself, and what the program asks of it.

#include <windows.h>

#include <memory>

#include "render/playback_ring.h"
#include "render/wave_devices.h"
#include "render/win/wave_out_device.h"

namespace lumetra::win {

struct Program;
class WinPlaybackUi;

struct PlaybackRuntime {
    PlaybackRuntime();
    ~PlaybackRuntime();
    // The ring's buffers outlive the device that holds headers pointing into them (members are
    // destroyed in reverse order).
    std::unique_ptr<PlaybackRing> ring;
    std::unique_ptr<WaveOutDevice> device;
    std::unique_ptr<WinPlaybackUi> ui;
    WaveDeviceList devices;
};

// Finds the devices (a machine without any is told so once) and allocates the buffer ring for
// the loaded sound options; the device's completion messages go to the main window. False when
// the buffers cannot be had.
bool startPlaybackRuntime(Program& program);
// The device is in use for the latest sound.
bool playbackActive(const PlaybackRuntime& playback);
// Stops a running playback before a render; false when the device did not let go in time.
bool stopPlaybackForRender(Program& program);
// Plays the new sound once after a render.
void playAfterRender(Program& program);
// The Play (320) and Stop (322) commands.
void playCommand(Program& program, int command);
// A buffer came back from the device (message 957: wParam the device, lParam the header).
void onBufferDone(Program& program, WPARAM device, LPARAM header);
// At shutdown: stops the device and waits for it, closes it, and lets go of the device and
// then of the buffers.
void stopPlaybackAtExit(PlaybackRuntime& playback);
// "&Soundcard && Sample Rate..." (420): the options dialog over the program's sound options,
// then the Nyquist check and the oscillators of the picture for the (new) sample rate. Nothing
// happens while the device is in use (its headers point into the buffers) or a sound file is
// being written.
void soundOptionsCommand(Program& program, int command);

}  // namespace lumetra::win
