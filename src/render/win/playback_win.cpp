#include "render/win/playback_win.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "image/win/canvas_window.h"
#include "render/playback_ring.h"
#include "render/playback_sound.h"
#include "render/wave_devices.h"
#include "render/win/render_bridge.h"
#include "shell/win/app_state.h"
#include "shell/win/message_boxes.h"
#include "shell/win/status_bar.h"
#include "shell/win/text.h"

namespace lumetra::win {
namespace {

constexpr UINT kBufferDone = MM_WOM_DONE;  // 957
constexpr size_t kMaxBuffers = 16;

std::string waveOutText(int code) {
    wchar_t text[MAXERRORLENGTH] = {};
    if (waveOutGetErrorTextW(MMRESULT(code), text, MAXERRORLENGTH) != MMSYSERR_NOERROR) {
        return "Error " + std::to_string(code);
    }
    return narrow(text);
}

// The wave-out device with one header per ring buffer; its completion messages go to the main
// window.
class WinWaveOut final : public WaveOutPort {
  public:
    int open(std::int32_t device, const OutputFormat& format) override {
        WAVEFORMATEX wave{};
        wave.wFormatTag = format.formatTag;
        wave.nChannels = format.channels;
        wave.nSamplesPerSec = format.sampleRate;
        wave.nAvgBytesPerSec = format.byteRate;
        wave.nBlockAlign = format.blockAlign;
        wave.wBitsPerSample = format.bitsPerSample;
        wave.cbSize = 0;
        headers_.fill(WAVEHDR{});
        UINT id = device < 0 ? WAVE_MAPPER : UINT(device);
        return int(waveOutOpen(&device_, id, &wave,
                               reinterpret_cast<DWORD_PTR>(appState().mainWindow), 0,
                               CALLBACK_WINDOW));
    }
    int prepare(std::size_t index, std::int16_t* data, std::uint32_t capacityBytes) override {
        if (index >= kMaxBuffers) return MMSYSERR_INVALPARAM;
        WAVEHDR& h = headers_[index];
        h = WAVEHDR{};
        h.lpData = reinterpret_cast<LPSTR>(data);
        h.dwBufferLength = capacityBytes;
        h.dwUser = index;
        return int(waveOutPrepareHeader(device_, &h, sizeof h));
    }
    int unprepare(std::size_t index) override {
        if (index >= kMaxBuffers) return MMSYSERR_INVALPARAM;
        return int(waveOutUnprepareHeader(device_, &headers_[index], sizeof(WAVEHDR)));
    }
    int write(std::size_t index, std::uint32_t bytes) override {
        if (index >= kMaxBuffers) return MMSYSERR_INVALPARAM;
        headers_[index].dwBufferLength = bytes;
        return int(waveOutWrite(device_, &headers_[index], sizeof(WAVEHDR)));
    }
    int pause() override { return int(waveOutPause(device_)); }
    int restart() override { return int(waveOutRestart(device_)); }
    int reset() override { return int(waveOutReset(device_)); }
    int close() override {
        int result = int(waveOutClose(device_));
        if (result == MMSYSERR_NOERROR) device_ = nullptr;
        return result;
    }
    std::string errorText(int code) override { return waveOutText(code); }

    // The ring index of a header the device handed back; -1 when it is none of ours.
    long indexOf(const WAVEHDR* header) const {
        for (size_t i = 0; i < kMaxBuffers; ++i) {
            if (&headers_[i] == header) return long(i);
        }
        return -1;
    }

  private:
    HWAVEOUT device_ = nullptr;
    std::array<WAVEHDR, kMaxBuffers> headers_{};
};

class WinPlaybackUi final : public PlaybackUi {
  public:
    explicit WinPlaybackUi(WinWaveOut& device) : device_(device) {}

    void setStatus(const std::string& text) override { setStatusText(0, widen(text)); }
    void showWarning(const std::string& text, const std::string& caption) override {
        lumetra::win::showWarning(widen(text), widen(caption));
    }
    void sendPlayPosition(std::int32_t wParam, std::int64_t lParam) override {
        if (HWND canvas = appState().canvas) {
            SendMessageW(canvas, kPlayPositionMessage, WPARAM(wParam), LPARAM(lParam));
        }
    }
    void postPlayPosition(std::int32_t wParam, std::int64_t lParam) override {
        if (HWND canvas = appState().canvas) {
            PostMessageW(canvas, kPlayPositionMessage, WPARAM(wParam), LPARAM(lParam));
        }
    }
    void showPlayState(bool playing) override {
        const AppState& s = appState();
        if (HMENU menu = GetMenu(s.mainWindow)) {
            const UINT from = playing ? IDM_PLAY : IDM_STOP_PLAYBACK;
            const UINT to = playing ? IDM_STOP_PLAYBACK : IDM_PLAY;
            std::wstring text = widen(playing ? kStopMenuText : kPlayMenuText);
            ModifyMenuW(menu, from, MF_BYCOMMAND | MF_STRING, to, text.c_str());
        }
        if (s.toolbar) {
            SendMessageW(s.toolbar, TB_CHECKBUTTON, IDM_PLAY,
                         MAKELPARAM(playing ? TRUE : FALSE, 0));
        }
    }
    void invalidateCanvas() override {
        if (HWND canvas = appState().canvas) InvalidateRect(canvas, nullptr, TRUE);
    }
    std::vector<std::size_t> takeFinishedBuffers() override {
        std::vector<std::size_t> done;
        MSG msg;
        while (PeekMessageW(&msg, appState().mainWindow, kBufferDone, kBufferDone, PM_REMOVE)) {
            long index = device_.indexOf(reinterpret_cast<const WAVEHDR*>(msg.lParam));
            if (index >= 0) done.push_back(size_t(index));
        }
        return done;
    }
    void sleep(int milliseconds) override { Sleep(DWORD(milliseconds)); }

  private:
    WinWaveOut& device_;
};

class WinWaveDeviceQuery final : public WaveDeviceQuery {
  public:
    std::int32_t deviceCount() override { return std::int32_t(waveOutGetNumDevs()); }
    int capabilities(std::int32_t device, std::string& name) override {
        WAVEOUTCAPSW caps{};
        UINT id = device < 0 ? WAVE_MAPPER : UINT(device);
        MMRESULT result = waveOutGetDevCapsW(id, &caps, sizeof caps);
        if (result == MMSYSERR_NOERROR) name = narrow(caps.szPname);
        return int(result);
    }
    std::string errorText(int code) override { return waveOutText(code); }
};

struct PlaybackRuntime {
    WinWaveOut device;
    WinPlaybackUi ui{device};
    std::unique_ptr<PlaybackRing> ring;
    WaveDeviceList devices;
};

PlaybackRuntime& runtime() {
    static PlaybackRuntime r;
    return r;
}

PlaybackSoundView view() {
    return playbackView(latestSound());
}

}  // namespace

bool startPlaybackRuntime() {
    PlaybackRuntime& r = runtime();
    AppState& s = appState();
    WinWaveDeviceQuery query;
    r.devices = enumerateDevices(query, r.ui, s.sound);
    r.ring = std::make_unique<PlaybackRing>(r.device, r.ui, s.sound);
    return r.ring->allocateBuffers(s.sound.bufferCount, s.sound.bufferSize);
}

bool playbackRunning() {
    return runtime().ring && runtime().ring->active();
}

bool playbackPlaying() {
    return runtime().ring && runtime().ring->playing();
}

bool stopPlaybackForRender() {
    PlaybackRing* ring = runtime().ring.get();
    return !ring || ring->togglePlayback(kStopForRender, view());
}

void playAfterRender() {
    if (PlaybackRing* ring = runtime().ring.get()) ring->togglePlayback(kPlayOnce, view());
}

void playCommand(int command) {
    PlaybackRing* ring = runtime().ring.get();
    if (!ring) return;
    // Stop is only a command while a sound plays.
    if (command == IDM_STOP_PLAYBACK && !ring->playing()) return;
    ring->togglePlayback(kPlayRepeating, view());
}

void onBufferDone(LPARAM header) {
    PlaybackRuntime& r = runtime();
    if (!r.ring) return;
    long index = r.device.indexOf(reinterpret_cast<const WAVEHDR*>(header));
    if (index >= 0) r.ring->onBufferDone(size_t(index), view());
}

void stopPlaybackAtExit() {
    PlaybackRing* ring = runtime().ring.get();
    if (!ring || !ring->active()) return;
    ring->stopPlaybackAndWait();
}

}  // namespace lumetra::win
