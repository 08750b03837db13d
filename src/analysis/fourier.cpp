#include "analysis/fourier.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace lumetra {

FourierTransform::FourierTransform(std::int32_t size)
    : size_(size), reversed_(std::size_t(size)), cos_(std::size_t(size)), sin_(std::size_t(size)) {
    int bits = 0;
    while ((1 << bits) < size)
        ++bits;
    for (std::int32_t i = 0; i < size; ++i) {
        std::uint32_t r = 0;
        for (int b = 0; b < bits; ++b)
            r |= ((std::uint32_t(i) >> b) & 1u) << (bits - 1 - b);
        reversed_[std::size_t(i)] = r;
    }
    for (std::int32_t h = 1; h < size; h *= 2)
        for (std::int32_t j = 0; j < h; ++j) {
            const double angle = std::numbers::pi * j / h;
            cos_[std::size_t(h + j)] = float(std::cos(angle));
            sin_[std::size_t(h + j)] = float(std::sin(angle));
        }
}

void FourierTransform::forward(float* re, float* im) const {
    for (std::int32_t i = 0; i < size_; ++i) {
        const auto r = std::int32_t(reversed_[std::size_t(i)]);
        if (r > i) {
            std::swap(re[i], re[r]);
            std::swap(im[i], im[r]);
        }
    }
    for (std::int32_t h = 1; h < size_; h *= 2) {
        const float* wc = cos_.data() + h;
        const float* ws = sin_.data() + h;
        for (std::int32_t g = 0; g < size_; g += 2 * h) {
            float* ar = re + g;
            float* ai = im + g;
            float* br = re + g + h;
            float* bi = im + g + h;
            for (std::int32_t j = 0; j < h; ++j) {
                // t = b * e^(-i pi j / h)
                const float tr = br[j] * wc[j] + bi[j] * ws[j];
                const float ti = bi[j] * wc[j] - br[j] * ws[j];
                br[j] = ar[j] - tr;
                bi[j] = ai[j] - ti;
                ar[j] += tr;
                ai[j] += ti;
            }
        }
    }
}

}  // namespace lumetra
