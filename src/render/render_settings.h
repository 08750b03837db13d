#pragma once
// Per-image render parameters and the per-row oscillator data derived from them.

#include <cstdint>
#include <vector>

namespace lumetra {

// Per-row noise-band state, prepared by prepareOscillators and advanced by the renderer.
struct NoiseState {
    std::int32_t ampBase = 0;
    std::int32_t ampCount = 0;
    std::int32_t ampLevel = 0;
    std::int32_t ampStep = 0;
    std::int32_t ampDivisor = 0;
    std::int32_t fmBase = 0;
    std::int32_t fmCount = 0;
    std::int32_t modPhase = 0;
    std::int32_t modInc = 0;
    std::int32_t modSlope = 0;
    float modDepth = 0.0f;
    float modScale = 0.0f;
};

// The noise bandwidth runs 0..15 (four bits of the stored options); new pictures get the widest.
inline constexpr std::int32_t kMaxNoiseBandwidth = 15;

struct RenderSettings {
    std::int32_t width = 300;
    std::int32_t height = 150;
    double lowFrequency = 50.0;
    double highFrequency = 8000.0;
    double ampFactor = 10.0;
    double outputTime = 5.0;
    std::int32_t samplesPerPixel = 0;
    std::int32_t softSweeps = 0;
    std::vector<double> rowFrequencies;
    std::vector<std::uint32_t> rowPhases;
    std::vector<std::uint32_t> rowIncrements;
    std::vector<NoiseState> noiseStates;
    std::int32_t noiseBandwidth = kMaxNoiseBandwidth;
};

}  // namespace lumetra
