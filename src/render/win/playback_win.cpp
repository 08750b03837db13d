#include "render/win/playback_win.h"

#include <memory>
#include <string>
#include <vector>

#include "image/win/canvas_window.h"
#include "render/oscillators.h"
#include "render/playback_ring.h"
#include "render/playback_sound.h"
#include "render/wav_output.h"
#include "render/win/play_state_display.h"
#include "render/win/render_bridge.h"
#include "render/win/render_flow.h"
#include "render/win/render_options_window.h"
#include "render/win/sound_options_dialog.h"
#include "render/win/wave_out_device.h"
#include "shell/win/app_state.h"
#include "shell/win/message_boxes.h"
#include "shell/win/status_bar.h"
#include "shell/win/tool_windows.h"
#include "base/win/utf16.h"

namespace lumetra::win {
namespace {

// What the ring reports lands in the main window's status bar, menu and toolbar, in warning
// boxes and as play positions on the canvas.
class WinPlaybackUi final : public PlaybackUi {
  public:
    explicit WinPlaybackUi(WaveOutDevice& device) : device_(device) {}

    void setStatus(const std::string& text) override { setStatusText(0, toUtf16(text)); }
    void showWarning(const std::string& text, const std::string& caption) override {
        lumetra::win::showWarning(toUtf16(text), toUtf16(caption));
    }
    void sendPlayPosition(std::int32_t wParam, std::int64_t lParam) override {
        if (HWND canvas = appState().canvas)
            SendMessageW(canvas, kPlayPositionMessage, WPARAM(wParam), LPARAM(lParam));
    }
    void postPlayPosition(std::int32_t wParam, std::int64_t lParam) override {
        if (HWND canvas = appState().canvas)
            PostMessageW(canvas, kPlayPositionMessage, WPARAM(wParam), LPARAM(lParam));
    }
    void showPlayState(bool playing) override {
        const AppState& s = appState();
        lumetra::win::showPlayState(GetMenu(s.mainWindow), s.toolbar, playing);
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
    // The ring's buffers outlive the device that holds headers pointing into them (members are
    // destroyed in reverse order).
    std::unique_ptr<PlaybackRing> ring;
    std::unique_ptr<WaveOutDevice> device;
    std::unique_ptr<WinPlaybackUi> ui;
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

bool playbackDeviceOpen() {
    return runtime().ring && runtime().ring->deviceOpen();
}

const WaveDeviceList& playbackDevices() {
    return runtime().devices;
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

void onBufferDone(WPARAM device, LPARAM header) {
    PlaybackRuntime& r = runtime();
    if (!r.ring || !r.device) return;
    if (auto index = r.device->finishedBuffer(kBufferDoneMessage, device, header))
        r.ring->onBufferDone(*index, view());
}

void stopPlaybackAtExit() {
    PlaybackRuntime& r = runtime();
    if (r.ring && r.ring->active()) r.ring->stopPlaybackAndWait();
    // The device goes first: closing it (reset and unprepare as far as it goes, when the wait
    // ran out) takes its headers back from the system before the buffers they point into go.
    r.device.reset();
    r.ring.reset();
    r.ui.reset();
}

bool soundOptionsCommand(CanvasWindow& canvas) {
    PlaybackRuntime& r = runtime();
    AppState& s = appState();
    // Grayed in the menu then; a command that arrives anyway (a test driver, a stale click) must
    // not reallocate buffers that an open device still holds.
    if (!r.ring || r.ring->active() || r.ring->deviceOpen() || soundfileOpen()) return false;
    SoundOptionsDialogPorts ports{[&r](std::int32_t count, std::int32_t size) {
                                      return r.ring->allocateBuffers(count, size);
                                  },
                                  [](const std::string& text) { showWarning(toUtf16(text)); }};
    enableToolWindows(false);
    const bool confirmed = askSoundOptions(s.mainWindow, s.sound, r.devices, std::move(ports));
    enableToolWindows(true);
    // The latest sound keeps the format it was made with, for playing and for "Save Sound As...".
    if (RenderContext* context = renderContext()) updateOutputFormat(context->format, s.sound);
    // The picture's scale and slice length follow the sample rate.
    RenderSettings& settings = canvas.document().current.settings;
    checkNyquistFor(settings.highFrequency);
    prepareImageOscillators(settings);
    refreshRenderOptionsWindow();
    return confirmed;
}

}  // namespace lumetra::win
