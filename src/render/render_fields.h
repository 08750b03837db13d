#pragma once
// The rules of the pitch, loudness and time fields of the Render Options window and of the pitch
// fields of the New Image dialog, free of any window: the dialogs read a field's text, call one of
// these, then refill their fields from the settings.

#include <cstdint>
#include <string>
#include <string_view>

#include "render/render_settings.h"

namespace lumetra {

// A field's text read as a decimal number the way the C library's atof does: leading blanks and
// a sign are allowed, reading stops at the first character that does not fit, no number gives 0.
double readFieldNumber(std::string_view text);

// Field texts.
std::string frequencyFieldText(double hz);                           // "%.3f" (Low, High)
std::string twoDecimalsText(double value);                           // "%.2f" (Amp, Time)
std::string stepText(double low, double high, std::int32_t height);  // "%.2f cent/line"
std::string timePerPixelText(double seconds, std::int32_t width);    // "%.2f millisec"

// Leaving a field (focus lost) with the number v read from it: true when v was taken.
bool leaveLowField(RenderSettings& settings, double v);   // v < High - 1
bool leaveHighField(RenderSettings& settings, double v);  // v > Low + 1
bool leaveAmpField(RenderSettings& settings, double v);   // v > 0
// v >= 0.5, above 9000 taken as 9000; also sets samplesPerPixel for the sample rate.
bool leaveTimeField(RenderSettings& settings, double v, std::int32_t sampleRate);

// Arrow steps: u = +10 for the up arrow, -10 for the down arrow (0 does nothing); v is the buddy
// field's text read as a 32-bit float.
inline constexpr int kArrowUp = 10;
inline constexpr int kArrowDown = -10;
void stepLowArrow(RenderSettings& settings, float v, int u);   // +-10, +-50 from 200 Hz
void stepHighArrow(RenderSettings& settings, float v, int u);  // +-100/500/1000, snaps to Nyquist
void stepAmpArrow(RenderSettings& settings, float v, int u);   // +-0.5, at least 0.5
void stepTimeArrow(RenderSettings& settings, float v, int u);  // +-1 s, 1 .. 9000

}  // namespace lumetra
