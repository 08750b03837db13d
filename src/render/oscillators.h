#pragma once
// The per-row oscillator data of an image (pitch, phase increment, noise-band constants) derived
// from its RenderSettings and the output sample rate, and the check that warns when the highest
// pitch folds over.

#include <cstdint>

#include "render/render_settings.h"
#include "render/sound_options.h"

namespace lumetra {

class Clock;
class UserInterface;

// Rebuilds rowFrequencies, rowPhases (zeroed), rowIncrements and noiseStates for settings.height
// rows and recomputes samplesPerPixel = trunc(SR * outputTime / (width + 1) + 0.5).
//
// The noise depth uses the samplesPerPixel held before the call (it lags one preparation behind);
// a block that was never prepared (samplesPerPixel <= 0) uses the new value instead of dividing
// by zero. Settings the pitch formulas cannot take are made safe rather than refused:
// - a lowFrequency of 0 or less (or not a number) is taken as 1 Hz; a highFrequency of 0 or less
//   as the low pitch (all rows sound the same pitch);
// - a single row sounds the low pitch, with the high pitch as its upper neighbour;
// - rows below 2 Hz take the noise constants of 2 Hz (the logarithm in them reaches 0 at 1 Hz);
// - every conversion to an integer saturates instead of overflowing.
// fmBase is stored as computed (it can be 0 for widely spaced rows); the renderer treats a base
// or an increment below 2 as 2.
void prepareOscillators(RenderSettings& settings, const SoundOptions& sound);

// samplesPerPixel for an output time: trunc(SR * seconds / (width + 1) + 0.5), saturated.
std::int32_t samplesPerPixelFor(double seconds, std::int32_t width, std::int32_t sampleRate);

// State of the Nyquist warning for one run of the program (owned by the caller).
struct NyquistWarningState {
    std::int32_t boxesShown = 0;
    std::uint32_t lastBoxTick = 0xFFFFFFFFu;  // -1: no box yet
};

// Warns when the highest pitch p (whole Hz) lies above half the sample rate: the long box at most
// once per run (and not within 90 s of the last one), otherwise a status bar note. Always 1.
int checkNyquist(UserInterface& ui, Clock& clock, NyquistWarningState& state,
                 std::int32_t highestPitch, const SoundOptions& sound);

}  // namespace lumetra
