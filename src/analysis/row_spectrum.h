#pragma once
// How loud each picture row's pitch is in a sound, frame by frame: short-time spectra (a Hann
// window of about 46 ms, a hop of a quarter of it) whose bin powers are shared out among the
// rows by how much of each bin lies in the row's band (the geometric middles between
// neighbouring rows). Every bin's power goes to the rows, so the rows together hold the power of
// the sound between the lowest and highest band edges.

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/fourier.h"

namespace lumetra {

struct RowSpectrumPlan {
    std::int32_t windowSize = 0;
    std::int32_t hop = 0;
    std::vector<float> window;
    std::vector<std::int32_t> firstWeight;  // rows + 1 offsets into bins and weights
    std::vector<std::int32_t> bins;
    std::vector<float> weights;
    std::int32_t binsUsed = 0;  // highest bin any row reads, plus one
    // A steady sine of amplitude A gives the rows of its band a power of A^2 / this.
    float powerPerSquaredAmplitude = 0;

    std::int32_t rows() const { return std::int32_t(firstWeight.size()) - 1; }
    // Frames whose centres (at multiples of the hop) cover `frames` samples.
    std::int32_t frameCount(std::size_t frames) const {
        return std::int32_t(frames / std::size_t(hop)) + 1;
    }
};

// The plan for a sound's sample rate and the rows' pitches (lowest first, at least two).
RowSpectrumPlan planRowSpectrum(std::int32_t sampleRate, std::span<const double> rowFrequencies);

// Scratch space of one thread.
struct RowSpectrumScratch {
    explicit RowSpectrumScratch(const RowSpectrumPlan& plan);
    FourierTransform fourier;
    std::vector<float> re, im, powerA, powerB;
};

// Amplitudes of frames [first, last) of `samples` into out[(m - first) * rows + r]: frame m is
// centred on sample m * hop; samples outside the sound count as silence.
void rowAmplitudes(const RowSpectrumPlan& plan, std::span<const float> samples, std::int32_t first,
                   std::int32_t last, RowSpectrumScratch& scratch, float* out);

}  // namespace lumetra
