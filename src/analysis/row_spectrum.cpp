#include "analysis/row_spectrum.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumetra {
namespace {

std::int32_t windowSizeFor(std::int32_t sampleRate) {
    // The power of two nearest to 46 ms, on a logarithmic scale.
    const double wanted = std::log2(0.0464 * sampleRate);
    return std::int32_t(1) << std::clamp(int(std::lround(wanted)), 6, 16);
}

// Copies frame m, windowed, into `to` (silence outside the sound).
void windowedFrame(const RowSpectrumPlan& plan, std::span<const float> samples, std::int32_t m,
                   float* to) {
    const std::int64_t start = std::int64_t(m) * plan.hop - plan.windowSize / 2;
    const std::int64_t total = std::int64_t(samples.size());
    for (std::int32_t n = 0; n < plan.windowSize; ++n) {
        const std::int64_t at = start + n;
        to[n] = at >= 0 && at < total ? samples[std::size_t(at)] * plan.window[std::size_t(n)] : 0;
    }
}

void rowsOf(const RowSpectrumPlan& plan, const std::vector<float>& power, float* out) {
    const float scale = 1.0f / plan.powerPerSquaredAmplitude;
    for (std::int32_t r = 0; r < plan.rows(); ++r) {
        float sum = 0;
        for (std::int32_t i = plan.firstWeight[std::size_t(r)];
             i < plan.firstWeight[std::size_t(r) + 1]; ++i)
            sum += power[std::size_t(plan.bins[std::size_t(i)])] * plan.weights[std::size_t(i)];
        out[r] = std::sqrt(sum * scale);
    }
}

}  // namespace

RowSpectrumPlan planRowSpectrum(std::int32_t sampleRate, std::span<const double> rowFrequencies) {
    RowSpectrumPlan plan;
    const std::int32_t n = plan.windowSize = windowSizeFor(sampleRate);
    plan.hop = n / 4;
    plan.window.resize(std::size_t(n));
    for (std::int32_t i = 0; i < n; ++i)
        plan.window[std::size_t(i)] = float(0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / n));
    plan.powerPerSquaredAmplitude = 3.0f * float(n) * float(n) / 32.0f;

    const std::size_t rows = rowFrequencies.size();
    const double binWidth = double(sampleRate) / n;
    const double ratio = std::sqrt(rowFrequencies[rows - 1] / rowFrequencies[rows - 2]);
    const double lowestRatio = std::sqrt(rowFrequencies[1] / rowFrequencies[0]);
    for (std::size_t r = 0; r < rows; ++r) {
        plan.firstWeight.push_back(std::int32_t(plan.bins.size()));
        const double f = rowFrequencies[r];
        const double low = r == 0 ? f / lowestRatio : std::sqrt(f * rowFrequencies[r - 1]);
        const double high = r + 1 == rows ? f * ratio : std::sqrt(f * rowFrequencies[r + 1]);
        const double from = std::max(low / binWidth, 0.0), to = std::min(high / binWidth, n / 2.0);
        for (auto k = std::int32_t(std::floor(from + 0.5)); k + 0.5 > from && k - 0.5 < to; ++k) {
            const double overlap = std::min(to, k + 0.5) - std::max(from, k - 0.5);
            if (overlap <= 0 || k > n / 2) continue;
            plan.bins.push_back(k);
            plan.weights.push_back(float(overlap));
            plan.binsUsed = std::max(plan.binsUsed, k + 1);
        }
    }
    plan.firstWeight.push_back(std::int32_t(plan.bins.size()));
    return plan;
}

RowSpectrumScratch::RowSpectrumScratch(const RowSpectrumPlan& plan)
    : fourier(plan.windowSize),
      re(std::size_t(plan.windowSize)),
      im(std::size_t(plan.windowSize)),
      powerA(std::size_t(plan.binsUsed) + 1),
      powerB(std::size_t(plan.binsUsed) + 1) {}

void rowAmplitudes(const RowSpectrumPlan& plan, std::span<const float> samples, std::int32_t first,
                   std::int32_t last, RowSpectrumScratch& s, float* out) {
    const std::int32_t n = plan.windowSize, rows = plan.rows();
    // Two real frames at once: one as the real part, the next as the imaginary part.
    for (std::int32_t m = first; m < last; m += 2) {
        const bool pair = m + 1 < last;
        windowedFrame(plan, samples, m, s.re.data());
        if (pair)
            windowedFrame(plan, samples, m + 1, s.im.data());
        else
            std::fill(s.im.begin(), s.im.end(), 0.0f);
        s.fourier.forward(s.re.data(), s.im.data());
        for (std::int32_t k = 0; k < plan.binsUsed; ++k) {
            const std::int32_t j = (n - k) & (n - 1);
            const float sr = s.re[std::size_t(k)] + s.re[std::size_t(j)];
            const float dr = s.re[std::size_t(k)] - s.re[std::size_t(j)];
            const float si = s.im[std::size_t(k)] + s.im[std::size_t(j)];
            const float di = s.im[std::size_t(k)] - s.im[std::size_t(j)];
            s.powerA[std::size_t(k)] = 0.25f * (sr * sr + di * di);
            s.powerB[std::size_t(k)] = 0.25f * (si * si + dr * dr);
        }
        rowsOf(plan, s.powerA, out + std::size_t(m - first) * std::size_t(rows));
        if (pair) rowsOf(plan, s.powerB, out + std::size_t(m + 1 - first) * std::size_t(rows));
    }
}

}  // namespace lumetra
