#pragma once
// The two ports of playback: the wave-out device (the Windows multimedia waveOut interface on
// Windows, a fake in tests) and what the playback ring needs of the program's windows besides
// its texts and boxes (those go to the UserInterface).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/wav_output.h"

namespace lumetra {

// Every call returns 0 or the device's error code. Buffers are named by their index in the ring;
// the Windows port keeps one header per buffer and maps a returned header back to its index.
class WaveOutPort {
  public:
    virtual ~WaveOutPort() = default;

    // The devices of the system, for the sound options.
    virtual std::int32_t deviceCount() = 0;
    // The device's name (-1 = the system's mapper).
    virtual int capabilities(std::int32_t device, std::string& name) = 0;

    // Opens the device (-1 = the system's mapper) with completion messages to the main window.
    virtual int open(std::int32_t device, const OutputFormat& format) = 0;
    // Prepares the header of buffer `index` over `capacityBytes` bytes at `data`.
    virtual int prepare(std::size_t index, std::int16_t* data, std::uint32_t capacityBytes) = 0;
    virtual int unprepare(std::size_t index) = 0;
    // Queues the first `bytes` bytes of buffer `index`.
    virtual int write(std::size_t index, std::uint32_t bytes) = 0;
    virtual int pause() = 0;
    virtual int restart() = 0;
    // Stops playing and hands every queued buffer back (each with its completion message).
    virtual int reset() = 0;
    virtual int close() = 0;
    // The system's text for an error code of the calls above.
    virtual std::string errorText(int code) = 0;
};

class PlaybackUi {
  public:
    virtual ~PlaybackUi() = default;
    // The play-position message (1357) to the canvas, sent (handled at once) or posted.
    virtual void sendPlayPosition(std::int32_t wParam, std::int64_t lParam) = 0;
    virtual void postPlayPosition(std::int32_t wParam, std::int64_t lParam) = 0;
    // Playing: the menu item 320 becomes 322 with kStopMenuText and the toolbar's Play button is
    // pressed; not playing: 322 becomes 320 with kPlayMenuText and the button is released.
    virtual void showPlayState(bool playing) = 0;
    virtual void invalidateCanvas() = 0;
    // Removes the pending buffer-done messages (957) of the main window from its queue and
    // returns their buffer indices, in queue order.
    virtual std::vector<std::size_t> takeFinishedBuffers() = 0;
    virtual void sleep(int milliseconds) = 0;
};

}  // namespace lumetra
