#include "render/win/playback_win.h"

#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "image/win/canvas_window.h"
#include "render/playback_ring.h"
#include "render/playback_sound.h"
#include "render/wave_devices.h"
#include "render/win/render_bridge.h"
#include "render/win/wave_out_device.h"
#include "shell/win/app_state.h"
#include "shell/win/message_boxes.h"
#include "shell/win/status_bar.h"
#include "shell/win/text.h"

namespace lumetra::win {
namespace {

class WinPlaybackUi final : public PlaybackUi {
  public:
    explicit WinPlaybackUi(WaveOutDevice& device) : device_(device) {}

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
        return device_.takeFinishedBuffers();
    }
    void sleep(int milliseconds) override { Sleep(DWORD(milliseconds)); }

  private:
    WaveOutDevice& device_;
};

struct PlaybackRuntime {
    std::unique_ptr<WaveOutDevice> device;
    std::unique_ptr<WinPlaybackUi> ui;
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
    // The device posts its buffer-done messages to the main window.
    r.device = std::make_unique<WaveOutDevice>(s.mainWindow);
    r.ui = std::make_unique<WinPlaybackUi>(*r.device);
    WinWaveDeviceQuery query;
    r.devices = enumerateDevices(query, *r.ui, s.sound);
    r.ring = std::make_unique<PlaybackRing>(*r.device, *r.ui, s.sound);
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

void onBufferDone(WPARAM wParam, LPARAM lParam) {
    PlaybackRuntime& r = runtime();
    if (!r.ring || !r.device) return;
    if (auto index = r.device->finishedBuffer(kBufferDoneMessage, wParam, lParam)) {
        r.ring->onBufferDone(*index, view());
    }
}

void stopPlaybackAtExit() {
    PlaybackRing* ring = runtime().ring.get();
    if (!ring || !ring->active()) return;
    ring->stopPlaybackAndWait();
}

}  // namespace lumetra::win
