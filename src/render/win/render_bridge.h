#pragma once
// Where the Win32 program calls the render core: the oscillator preparation with the program's
// sample rate and channel count, the Nyquist check and the render itself.

#include <filesystem>

#include "image/canvas_image.h"
#include "render/render_settings.h"

namespace lumetra::win {

// prepareOscillators with the program's sound options.
void prepareImageOscillators(RenderSettings& settings);
// Both images of a document.
void prepareDocumentOscillators(ImageDocument& document);
// checkNyquist for a highest pitch (its whole hertz).
void checkNyquistFor(double highFrequency);
// Writes the latest sound to a WAV file (Save Sound As).
bool writeLatestSound(const std::filesystem::path& path);
// The rules of the pitch, amp and time fields of the render dialogs. Leaving a field: true when
// the value was accepted. Arrows: `buddy` is the field's text read as a number, `u` is +10 for
// the up arrow and -10 for the down arrow.
bool acceptLowField(RenderSettings& settings, double value);
bool acceptHighField(RenderSettings& settings, double value);
bool acceptAmpField(RenderSettings& settings, double value);
bool acceptTimeField(RenderSettings& settings, double value);
void stepLowArrow(RenderSettings& settings, float buddy, int u);
void stepHighArrow(RenderSettings& settings, float buddy, int u);
void stepAmpArrow(RenderSettings& settings, float buddy, int u);
void stepTimeArrow(RenderSettings& settings, float buddy, int u);
// The read-only displays: "%.2f cent/line" and "%.2f millisec".
double stepCentsPerLine(const RenderSettings& settings);
double millisecondsPerPixel(const RenderSettings& settings);

// The render of one of the commands 300 to 303; true when it ran to its end.
bool renderDocument(ImageDocument& document, int command);

}  // namespace lumetra::win
