#include "shell/win/playback_runtime.h"

#include <string>
#include <vector>

#include "base/win/utf16.h"
#include "render/playback_sound.h"
#include "render/win/play_state_display.h"
#include "render/win/sound_options_dialog.h"
#include "shell/win/program.h"
#include "shell/win/render_runtime.h"

namespace lumetra::win {

// What playback shows lands in the main window's menu and toolbar and as play positions on the
// canvas (its texts and warnings go to the program's status bar and boxes).
class WinPlaybackUi final : public PlaybackUi {
  public:
    WinPlaybackUi(Program& program, WaveOutDevice& device) : program_(program), device_(device) {}

    void sendPlayPosition(std::int32_t wParam, std::int64_t lParam) override {
        if (HWND canvas = canvasWindow())
            SendMessageW(canvas, kPlayPositionMessage, WPARAM(wParam), LPARAM(lParam));
    }
    void postPlayPosition(std::int32_t wParam, std::int64_t lParam) override {
        if (HWND canvas = canvasWindow())
            PostMessageW(canvas, kPlayPositionMessage, WPARAM(wParam), LPARAM(lParam));
    }
    void showPlayState(bool playing) override {
        lumetra::win::showPlayState(GetMenu(program_.mainWindow), program_.toolbar, playing);
    }
    void invalidateCanvas() override {
        if (HWND canvas = canvasWindow()) InvalidateRect(canvas, nullptr, TRUE);
    }
    std::vector<std::size_t> takeFinishedBuffers() override {
        return device_.takeFinishedBuffers();
    }
    void sleep(int milliseconds) override { Sleep(DWORD(milliseconds)); }

  private:
    HWND canvasWindow() const { return program_.canvas ? program_.canvas->window() : nullptr; }

    Program& program_;
    WaveOutDevice& device_;
};

namespace {

PlaybackSoundView view(Program& program) {
    return playbackView(program.render.latestSound);
}

}  // namespace

PlaybackRuntime::PlaybackRuntime() = default;
PlaybackRuntime::~PlaybackRuntime() = default;

bool startPlaybackRuntime(Program& program) {
    PlaybackRuntime& r = program.playback;
    SoundOptions& sound = program.settings.sound;
    // The device posts its buffer-done messages to the main window.
    r.device = std::make_unique<WaveOutDevice>(program.mainWindow);
    r.ui = std::make_unique<WinPlaybackUi>(program, *r.device);
    r.devices = enumerateDevices(*r.device, program.ui, sound);
    r.ring = std::make_unique<PlaybackRing>(*r.device, *r.ui, program.ui, sound);
    return r.ring->allocateBuffers(sound.bufferCount, sound.bufferSize);
}

bool playbackActive(const PlaybackRuntime& playback) {
    return playback.ring && playback.ring->active();
}

bool stopPlaybackForRender(Program& program) {
    PlaybackRing* ring = program.playback.ring.get();
    return !ring || ring->togglePlayback(kStopForRender, view(program));
}

void playAfterRender(Program& program) {
    if (PlaybackRing* ring = program.playback.ring.get())
        ring->togglePlayback(kPlayOnce, view(program));
}

void playCommand(Program& program, int command) {
    PlaybackRing* ring = program.playback.ring.get();
    if (!ring) return;
    // Stop is only a command while a sound plays.
    if (command == IDM_STOP_PLAYBACK && !ring->playing()) return;
    ring->togglePlayback(kPlayRepeating, view(program));
}

void onBufferDone(Program& program, WPARAM device, LPARAM header) {
    PlaybackRuntime& r = program.playback;
    if (!r.ring || !r.device) return;
    if (auto index = r.device->finishedBuffer(kBufferDoneMessage, device, header))
        r.ring->onBufferDone(*index, view(program));
}

void stopPlaybackAtExit(PlaybackRuntime& r) {
    if (r.ring && r.ring->active()) r.ring->stopPlaybackAndWait();
    // The device goes first: closing it (reset and unprepare as far as it goes, when the wait
    // ran out) takes its headers back from the system before the buffers they point into go.
    r.device.reset();
    r.ring.reset();
    r.ui.reset();
}

void soundOptionsCommand(Program& program, int) {
    PlaybackRuntime& r = program.playback;
    SoundOptions& sound = program.settings.sound;
    // Grayed in the menu then; a command that arrives anyway (a stale click) must not
    // reallocate buffers that an open device still holds.
    if (!r.ring || r.ring->active() || r.ring->deviceOpen() || soundfileOpen(program.render))
        return;
    SoundOptionsDialogPorts ports{
        [&r](std::int32_t count, std::int32_t size) {
            return r.ring->allocateBuffers(count, size);
        },
        [&program](const std::string& text) { program.ui.warn(toUtf16(text)); }};
    {
        ModalScope modal(program.tools);
        askSoundOptions(program.instance, program.mainWindow, sound, r.devices, std::move(ports));
    }
    // The latest sound keeps the format it was made with, for playing and for "Save Sound As...".
    if (RenderContext* context = program.render.context.get())
        updateOutputFormat(context->format, sound);
    // The picture's scale and slice length follow the sample rate.
    RenderSettings& settings = program.document.current().settings;
    checkNyquistFor(program, settings.highFrequency);
    prepareImageOscillators(program, settings);
    program.document.changed(kPrepared);
}

}  // namespace lumetra::win
