#pragma once
// How loud each picture row's pitch is in a sound, frame by frame: short-time spectra (a Hann
// window of about 46 ms, a hop of a quarter of it) whose bins are given to rows by the frequency
// they really hold. Each bin's frequency is reassigned from the spectrum of the window's
// derivative (for a steady sine, every bin of its main lobe names the sine's frequency), so a
// tone lands in one row instead of smearing over the dozen rows a bin spans at low pitches, and
// the rows together keep the power of the sound between the lowest and highest band edges.

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/fourier.h"

namespace lumetra {

struct RowSpectrumPlan {
    std::int32_t windowSize = 0;
    std::int32_t hop = 0;
    std::int32_t rows = 0;
    std::vector<float> window, derivative;
    std::int32_t binsUsed = 0;  // bins 0 .. binsUsed - 1 are read
    double binHz = 0;
    // Row of a frequency f: floor((ln f - lowestEdge) / rowStep), the bands' edges lying at the
    // geometric middles between neighbouring rows.
    double lowestEdge = 0, rowStep = 0;
    // A steady sine of amplitude A gives its row a power of A^2 times this.
    double amplitudePerPower = 0;

    // Frames whose centres (at multiples of the hop) cover `frames` samples.
    std::int32_t frameCount(std::size_t frames) const {
        return std::int32_t(frames / std::size_t(hop)) + 1;
    }
};

// The plan for a sound's sample rate and a geometric scale of `rows` pitches from low to high.
RowSpectrumPlan planRowSpectrum(std::int32_t sampleRate, double lowFrequency, double highFrequency,
                                std::int32_t rows);

// Scratch space of one thread.
struct RowSpectrumScratch {
    explicit RowSpectrumScratch(const RowSpectrumPlan& plan);
    FourierTransform fourier;
    std::vector<float> re, im;
    std::vector<double> power;
};

// Amplitudes of frames [first, last) of `samples` into out[(m - first) * rows + r]: frame m is
// centred on sample m * hop; samples outside the sound count as silence.
void rowAmplitudes(const RowSpectrumPlan& plan, std::span<const float> samples, std::int32_t first,
                   std::int32_t last, RowSpectrumScratch& scratch, float* out);

}  // namespace lumetra
