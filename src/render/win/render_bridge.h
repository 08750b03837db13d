#pragma once
// Where the Win32 program meets the render core: the one RenderContext of the run (sine table,
// random seed, output format, soundfile, latest sound), the oscillator preparation with the
// program's sound options, the Nyquist check and the render itself.

#include <cstdint>
#include <filesystem>

#include "document/canvas_image.h"
#include "render/playback_sound.h"
#include "render/render_context.h"
#include "render/render_settings.h"

namespace lumetra::win {

// Builds the sine table and the render context; false when the memory cannot be had.
bool startRenderRuntime();
// Releases the sine table, the soundfile and the latest sound.
void stopRenderRuntime();
// The run's render context; null before startRenderRuntime.
RenderContext* renderContext();
// The latest sound (empty before the first render).
PlaybackSound& latestSound();

// prepareOscillators with the program's sound options.
void prepareImageOscillators(RenderSettings& settings);
// Both images of a document.
void prepareDocumentOscillators(ImageDocument& document);
// checkNyquist for a highest pitch (its whole hertz).
void checkNyquistFor(double highFrequency);
// The render of one of the commands 300 to 303; true when it ran to its end.
bool renderDocument(ImageDocument& document, int command);
// "Save Sound As...": the suggested name, the dialog and the WAV file.
void saveLatestSoundAs(const ImageDocument& document);

}  // namespace lumetra::win
