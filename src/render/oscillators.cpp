#include "render/oscillators.h"

#include <cmath>
#include <limits>

#include "base/clock.h"
#include "base/float_conversion.h"
#include "base/format_text.h"
#include "base/user_interface.h"

namespace lumetra {

namespace {

// Below this pitch the noise constants (which use ln f) stop making sense; rows lower than it
// take the constants of this pitch.
constexpr double kLowestNoisePitch = 2.0;

struct PitchRange {
    double low;
    double ratio;  // between neighbouring rows
};

PitchRange pitchRange(const RenderSettings& settings) {
    const double low = settings.lowFrequency > 0.0 && std::isfinite(settings.lowFrequency)
                           ? settings.lowFrequency
                           : 1.0;
    const double high = settings.highFrequency > 0.0 && std::isfinite(settings.highFrequency)
                            ? settings.highFrequency
                            : low;
    if (settings.height <= 1) return {low, high / low};
    return {low, std::pow(high / low, 1.0 / (settings.height - 1))};
}

NoiseState noiseConstants(double f, double fNext, std::int32_t sampleRate, std::int32_t bandwidth,
                          float bq, float invA, float h) {
    const double logPitch = std::log(f > kLowestNoisePitch ? f : kLowestNoisePitch);
    NoiseState noise;
    const std::int32_t ampBase = truncToInt32(sampleRate / ((1 / bq) * fNext));
    noise.ampBase = ampBase < 3 ? 3 : ampBase;
    const std::int32_t ampDivisor = truncToInt32(7000 * logPitch + 10000);
    noise.ampDivisor = ampDivisor < 1 ? 1 : ampDivisor;
    noise.fmBase = fNext == f ? std::numeric_limits<std::int32_t>::max()
                              : truncToInt32(sampleRate / (fNext - f) / (bandwidth + 3.5));
    noise.modScale = static_cast<float>(2 * logPitch);
    const float depthScale = static_cast<float>(sampleRate) * invA * h;
    noise.modDepth = static_cast<float>(depthScale / (fNext / logPitch * 2.5));
    return noise;
}

}  // namespace

std::int32_t samplesPerPixelFor(double seconds, std::int32_t width, std::int32_t sampleRate) {
    if (width + 1 <= 0) return 0;
    return truncToInt32(sampleRate * seconds / (width + 1) + 0.5);
}

void prepareOscillators(RenderSettings& settings, const SoundOptions& sound) {
    const std::int32_t rows = settings.height > 0 ? settings.height : 0;
    const std::int32_t sampleRate = sound.sampleRate;
    settings.rowFrequencies.assign(rows, 0.0);
    settings.rowPhases.assign(rows, 0u);
    settings.rowIncrements.assign(rows, 0u);
    settings.noiseStates.assign(rows, NoiseState{});

    const std::int32_t previousSlice = settings.samplesPerPixel;
    const std::int32_t slice = samplesPerPixelFor(settings.outputTime, settings.width, sampleRate);
    // The noise depth follows the slice length of the previous preparation; a block that was
    // never prepared would otherwise divide by a depth of 0.
    const std::int64_t depthSlice = previousSlice > 0 ? previousSlice : slice;

    const std::int32_t b = settings.noiseBandwidth;
    const float a = static_cast<float>(7 * b + 0.5);
    const float bq = static_cast<float>(5 / (b * b + 0.4));
    const float invA = 1.0f / a;
    const float h = static_cast<float>(((sound.stereo + 1) * depthSlice) / 2);
    const double phaseScale = 268435456.0 / sampleRate;

    const PitchRange range = pitchRange(settings);
    double f = range.low;
    for (std::int32_t r = 0; r < rows; ++r) {
        settings.rowFrequencies[r] = f;
        settings.rowIncrements[r] = truncToPhase(phaseScale * f);
        const double fNext = f * range.ratio;
        settings.noiseStates[r] = noiseConstants(f, fNext, sampleRate, b, bq, invA, h);
        f = fNext;
    }
    settings.samplesPerPixel = slice;
}

int checkNyquist(UserInterface& ui, Clock& clock, NyquistWarningState& state,
                 std::int32_t highestPitch, const SoundOptions& sound) {
    const std::int32_t nyquist = sound.sampleRate / 2;
    if (highestPitch <= nyquist) return 1;
    const std::uint32_t now = clock.tickCount();
    const auto sinceLastBox = static_cast<std::int32_t>(now - state.lastBoxTick);
    if (state.boxesShown % 3 == 0 && state.boxesShown < 4 && sinceLastBox > 90000) {
        ui.showWarning(
            formatText(
                "Your present highest image frequency (%.2f Hz) exceeds the Nyquist frequency "
                "of the selected output sample rate.\n\n(The Nyquist frequency is the highest "
                "representable frequency, which is half the sample rate, ie %d/2 = %d Hz.)\n\n"
                "You may want to review either Soundcard & Sample Rate (Options menu) or "
                "Render Options (Tools menu) to avoid foldover in the output sound file.",
                static_cast<double>(highestPitch), sound.sampleRate, nyquist),
            kWarningCaption);
        ++state.boxesShown;
        state.lastBoxTick = now;
        return 1;
    }
    ui.setStatusText(0, formatText("Max out frq (%d) exceeds half of selected sample rate (%d)!",
                                   highestPitch, nyquist));
    return 1;
}

}  // namespace lumetra
