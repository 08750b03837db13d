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

// Frame m through the window as the real part and through its derivative as the imaginary part
// (silence outside the sound): one transform then gives both spectra of the real frame.
void windowedFrame(const RowSpectrumPlan& plan, std::span<const float> samples, std::int32_t m,
                   RowSpectrumScratch& s) {
    const std::int64_t start = std::int64_t(m) * plan.hop - plan.windowSize / 2;
    const std::int64_t total = std::int64_t(samples.size());
    for (std::int32_t n = 0; n < plan.windowSize; ++n) {
        const std::int64_t at = start + n;
        const float x = at >= 0 && at < total ? samples[std::size_t(at)] : 0.0f;
        s.re[std::size_t(n)] = x * plan.window[std::size_t(n)];
        s.im[std::size_t(n)] = x * plan.derivative[std::size_t(n)];
    }
}

}  // namespace

RowSpectrumPlan planRowSpectrum(std::int32_t sampleRate, double lowFrequency, double highFrequency,
                                std::int32_t rows) {
    RowSpectrumPlan plan;
    const std::int32_t n = plan.windowSize = windowSizeFor(sampleRate);
    plan.hop = n / 4;
    plan.rows = rows;
    plan.window.resize(std::size_t(n));
    plan.derivative.resize(std::size_t(n));
    for (std::int32_t i = 0; i < n; ++i) {
        const double angle = 2 * std::numbers::pi * i / n;
        plan.window[std::size_t(i)] = float(0.5 - 0.5 * std::cos(angle));
        plan.derivative[std::size_t(i)] = float(std::numbers::pi / n * std::sin(angle));
    }
    // A sine of amplitude A peaks at A n / 4 and its main lobe holds 3 A^2 n^2 / 32 in all.
    plan.amplitudePerPower = 32.0 / (3.0 * double(n) * double(n));
    plan.binHz = double(sampleRate) / n;
    plan.rowStep = std::log(highFrequency / lowFrequency) / std::max(rows - 1, 1);
    plan.lowestEdge = std::log(lowFrequency) - plan.rowStep / 2;
    const double topEdge = std::exp(plan.lowestEdge + plan.rowStep * rows);
    // Bins a little above the top edge may still hold a tone inside it.
    plan.binsUsed = std::min(n / 2, std::int32_t(topEdge / plan.binHz) + 4);
    return plan;
}

RowSpectrumScratch::RowSpectrumScratch(const RowSpectrumPlan& plan)
    : fourier(plan.windowSize),
      re(std::size_t(plan.windowSize)),
      im(std::size_t(plan.windowSize)),
      power(std::size_t(plan.rows)) {}

void rowAmplitudes(const RowSpectrumPlan& plan, std::span<const float> samples, std::int32_t first,
                   std::int32_t last, RowSpectrumScratch& s, float* out) {
    const std::int32_t n = plan.windowSize;
    const double radiansToBins = n / (2 * std::numbers::pi);
    for (std::int32_t m = first; m < last; ++m) {
        windowedFrame(plan, samples, m, s);
        s.fourier.forward(s.re.data(), s.im.data());
        std::fill(s.power.begin(), s.power.end(), 0.0);
        for (std::int32_t k = 1; k < plan.binsUsed; ++k) {
            const std::size_t a = std::size_t(k), b = std::size_t(n - k);
            // Spectrum through the window (h) and through its derivative (d), taken apart.
            const double hr = 0.5 * (double(s.re[a]) + s.re[b]);
            const double hi = 0.5 * (double(s.im[a]) - s.im[b]);
            const double dr = 0.5 * (double(s.im[a]) + s.im[b]);
            const double di = -0.5 * (double(s.re[a]) - s.re[b]);
            const double p = hr * hr + hi * hi;
            if (!(p > 1e-30)) continue;
            // The frequency the bin holds: k - Im(D / H) in bins.
            const double bins = k - (di * hr - dr * hi) / p * radiansToBins;
            if (!(bins > 0)) continue;
            // 0 at the lowest row's pitch, 1 at the next one's.
            const double position =
                (std::log(bins * plan.binHz) - plan.lowestEdge) / plan.rowStep - 0.5;
            if (!(position > -1 && position < plan.rows)) continue;
            // Shared between the two rows around that frequency, by its distance from each: a
            // tone between rows sounds from both, as the bins' leakage around it does.
            const double below = std::floor(position), up = position - below;
            const auto r = std::int32_t(below);
            if (r >= 0) s.power[std::size_t(r)] += p * (1 - up);
            if (r + 1 < plan.rows) s.power[std::size_t(r + 1)] += p * up;
        }
        float* to = out + std::size_t(m - first) * std::size_t(plan.rows);
        for (std::int32_t r = 0; r < plan.rows; ++r)
            to[r] = float(std::sqrt(s.power[std::size_t(r)] * plan.amplitudePerPower));
    }
}

}  // namespace lumetra
