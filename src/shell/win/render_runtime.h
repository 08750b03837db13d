#pragma once
// Where the Win32 program meets the render core: the one RenderContext of the run (sine table,
// random seed, output format, soundfile, latest sound), the oscillator preparation with the
// program's sound options, the Nyquist check, the render itself and "Save Sound As...".

#include <cstdint>
#include <memory>

#include "document/canvas_image.h"
#include "document/win/canvas_window.h"
#include "render/oscillators.h"
#include "render/playback_sound.h"
#include "render/render_context.h"
#include "render/render_engine.h"
#include "render/sine_table.h"
#include "render/wav_output.h"
#include "shell/win/render_host_win.h"

namespace lumetra::win {

struct Program;

struct RenderRuntime {
    explicit RenderRuntime(FileSystem& files) : soundfile(files) {}

    std::unique_ptr<SineTable> sine;
    RandomSeed seed;
    OutputFormat format;  // mono 22050 Hz until the first render sets it from the options
    SoundfileOutput soundfile;
    PlaybackSound latestSound;
    SoftSweepTable softSweep;
    NyquistWarningState nyquist;
    RenderWorkers workers;
    std::unique_ptr<WinRenderHost> host;
    std::unique_ptr<RenderContext> context;
};

// Builds the sine table and the render context; false when the memory cannot be had.
bool startRenderRuntime(Program& program);
// Releases the sine table, the soundfile and the latest sound.
void stopRenderRuntime(RenderRuntime& render);

// prepareOscillators with the program's sound options.
void prepareImageOscillators(Program& program, RenderSettings& settings);
// Both images of the document.
void prepareDocumentOscillators(Program& program);
// checkNyquist for a highest pitch (its whole hertz).
void checkNyquistFor(Program& program, double highFrequency);
// The render of one of the commands 300 to 303; true when it ran to its end.
bool renderDocument(Program& program, int command);
// "Save Sound As...": the suggested name, the dialog and the WAV file.
void saveLatestSoundAs(Program& program);

// True while a render writes its sound file.
bool soundfileOpen(const RenderRuntime& render);
// The latest sound as the play-position display needs it.
PlayMarkerSource playMarkerSource(const RenderRuntime& render);

}  // namespace lumetra::win
