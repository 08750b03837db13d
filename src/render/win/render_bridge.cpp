#include "render/win/render_bridge.h"
#include "document/document_render.h"

#include <cmath>
#include <limits>
#include <memory>

#include "render/oscillators.h"
#include "render/render_engine.h"
#include "render/sine_table.h"
#include "render/soundfile_naming.h"
#include "render/wav_output.h"
#include "render/win/win_render_host.h"
#include "shell/win/app_state.h"

namespace lumetra::win {
namespace {

struct RenderRuntime {
    std::unique_ptr<SineTable> sine;
    RandomSeed seed;
    OutputFormat format;  // mono 22050 Hz until the first render sets it from the options
    SoundfileOutput soundfile;
    PlaybackSound playback;
    SoftSweepTable softSweep;
    NyquistWarningState nyquist;
    std::unique_ptr<RenderContext> context;
};

RenderRuntime& runtime() {
    static RenderRuntime r;
    return r;
}

std::int32_t wholeHertz(double hz) {
    if (!(hz > std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (!(hz < std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return std::int32_t(std::trunc(hz));
}

}  // namespace

bool startRenderRuntime() {
    RenderRuntime& r = runtime();
    if (r.context) return true;
    r.sine = buildSineTable();
    if (!r.sine) return false;
    AppState& s = appState();
    r.context.reset(new RenderContext{renderHost(), *r.sine, r.seed, s.sound, r.format, s.options,
                                      s.folders.soundfileFolder, r.soundfile, r.playback,
                                      r.softSweep});
    return true;
}

void stopRenderRuntime() {
    RenderRuntime& r = runtime();
    // A file still open here belongs to no finished render; it is discarded, not kept.
    if (r.soundfile.isOpen()) r.soundfile.close(0);
    r.context.reset();
    r.sine.reset();
    r.playback.samples = {};
    r.softSweep.weights = {};
}

RenderContext* renderContext() {
    return runtime().context.get();
}

PlaybackSound& latestSound() {
    return runtime().playback;
}

void prepareImageOscillators(RenderSettings& settings) {
    prepareOscillators(settings, appState().sound);
}

void prepareDocumentOscillators(ImageDocument& document) {
    prepareImageOscillators(document.current.settings);
    prepareImageOscillators(document.undo.settings);
}

void checkNyquistFor(double highFrequency) {
    checkNyquist(renderHost(), runtime().nyquist, wholeHertz(highFrequency), appState().sound);
}

bool renderDocument(ImageDocument& document, int command) {
    RenderContext* context = renderContext();
    if (!context) return false;
    context->soundfileFolder = appState().folders.soundfileFolder;
    return lumetra::renderDocument(*context, document, command) == 1;
}

void saveLatestSoundAs(const ImageDocument& document) {
    RenderContext* context = renderContext();
    if (!context) return;
    context->soundfileFolder = appState().folders.soundfileFolder;
    saveSoundAs(*context, document.displayName);
}

}  // namespace lumetra::win
