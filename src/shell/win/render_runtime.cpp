#include "shell/win/render_runtime.h"

#include <cmath>
#include <limits>

#include "base/win/utf16.h"
#include "document/document_render.h"
#include "render/soundfile_naming.h"
#include "shell/win/program.h"

namespace lumetra::win {
namespace {

std::int32_t wholeHertz(double hz) {
    if (!(hz > std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (!(hz < std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return std::int32_t(std::trunc(hz));
}

}  // namespace

bool startRenderRuntime(Program& program) {
    RenderRuntime& r = program.render;
    if (r.context) return true;
    r.sine = buildSineTable();
    if (!r.sine) return false;
    r.host = std::make_unique<WinRenderHost>(program);
    r.context.reset(new RenderContext{
        *r.host, program.ui, program.clock, program.files, *r.sine, r.seed, program.settings.sound,
        r.format, program.settings.shell.soundfile, program.settings.folders.soundfileFolder,
        r.soundfile, r.latestSound, r.softSweep, r.workers});
    return true;
}

void stopRenderRuntime(RenderRuntime& r) {
    // A file still open here belongs to no finished render; it is discarded, not kept.
    if (r.soundfile.isOpen()) r.soundfile.close(0);
    r.context.reset();
    r.host.reset();
    r.sine.reset();
    r.latestSound.samples = {};
    r.softSweep.weights = {};
}

void prepareImageOscillators(Program& program, RenderSettings& settings) {
    prepareOscillators(settings, program.settings.sound);
}

void prepareDocumentOscillators(Program& program) {
    prepareImageOscillators(program, program.document.current().settings);
    prepareImageOscillators(program, program.document.state().undo.settings);
}

void checkNyquistFor(Program& program, double highFrequency) {
    checkNyquist(program.ui, program.clock, program.render.nyquist, wholeHertz(highFrequency),
                 program.settings.sound);
}

bool renderDocument(Program& program, int command) {
    RenderContext* context = program.render.context.get();
    if (!context) return false;
    context->soundfileFolder = program.settings.folders.soundfileFolder;
    return lumetra::renderDocument(*context, program.document.state(), command) == 1;
}

void saveLatestSoundAs(Program& program) {
    RenderContext* context = program.render.context.get();
    if (!context) return;
    context->soundfileFolder = program.settings.folders.soundfileFolder;
    saveSoundAs(*context, program.document.displayName());
}

bool soundfileOpen(const RenderRuntime& render) {
    const RenderContext* context = render.context.get();
    return context && (context->renderInProgress || context->soundfile.isOpen());
}

PlayMarkerSource playMarkerSource(const RenderRuntime& render) {
    const PlaybackSound& sound = render.latestSound;
    PlayMarkerSource source;
    source.available = sound.length() > 0;
    source.rendered = sound.renderedRect;
    source.recordedWidth = sound.pictureWidth;
    source.recordedHeight = sound.pictureHeight;
    source.valuesPerColumn = sound.valuesPerColumn;
    return source;
}

}  // namespace lumetra::win
