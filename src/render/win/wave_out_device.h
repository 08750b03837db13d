#pragma once
// The wave-out port over the Windows multimedia waveOut interface. The device is opened with
// completion messages to a window: for every buffer it hands back it posts MM_WOM_DONE (957,
// the buffer-done message) with the buffer's header, and the program's window procedure turns
// that header back into the ring's buffer index with finishedBuffer(). One header per buffer
// index lives here, at a fixed address, for as long as the device object lives.

#include <windows.h>

#include <mmsystem.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "base/win/unique_handle.h"
#include "render/playback_ports.h"
#include "render/wave_devices.h"

namespace lumetra::win {

// The message the device posts for a returned buffer.
inline constexpr UINT kBufferDoneMessage = MM_WOM_DONE;
static_assert(kBufferDoneMessage == 957);

// The system's text for a waveOut error code, as UTF-8.
std::string waveOutErrorText(int code);

class WaveOutDevice final : public WaveOutPort {
  public:
    // `window` receives the completion messages.
    explicit WaveOutDevice(HWND window);
    // A device still open is reset, its headers unprepared and the device closed.
    ~WaveOutDevice() override;
    WaveOutDevice(const WaveOutDevice&) = delete;
    WaveOutDevice& operator=(const WaveOutDevice&) = delete;

    // -1 opens the system's mapper. An open device must be closed before another is opened.
    int open(std::int32_t device, const OutputFormat& format) override;
    int prepare(std::size_t index, std::int16_t* data, std::uint32_t capacityBytes) override;
    int unprepare(std::size_t index) override;
    // At most the prepared capacity.
    int write(std::size_t index, std::uint32_t bytes) override;
    int pause() override;
    int restart() override;
    int reset() override;
    int close() override;
    std::string errorText(int code) override;
    // The devices as waveOutGetNumDevs and waveOutGetDevCapsW report them. -1 asks the mapper;
    // with no device at all the mapper counts as absent (MMSYSERR_NODRIVER) even where the
    // system lets it answer.
    std::int32_t deviceCount() override;
    int capabilities(std::int32_t device, std::string& name) override;

    // The buffer index of a completion message (MM_WOM_DONE with our device and one of our
    // headers); nullopt for anything else, such as a message left over from a device that has
    // been closed since. The header pointer is compared, never followed.
    std::optional<std::size_t> finishedBuffer(UINT message, WPARAM wParam, LPARAM lParam) const;
    // Removes the pending completion messages of our device from the window's queue and returns
    // their buffer indices in queue order (for waiting on a reset device).
    std::vector<std::size_t> takeFinishedBuffers();

    bool isOpen() const { return bool(device_); }
    HWAVEOUT handle() const { return device_.get(); }

  private:
    struct Buffer {
        WAVEHDR header{};
        DWORD capacity = 0;
        bool prepared = false;
    };

    Buffer* buffer(std::size_t index);
    void shutDown() noexcept;

    HWND window_;
    UniqueHandle<HWAVEOUT, &waveOutClose> device_;
    std::vector<std::unique_ptr<Buffer>> buffers_;  // unique_ptr: the device holds the addresses
};

}  // namespace lumetra::win
