#pragma once
// How one channel of a brush pixel meets the canvas: the mix gives the value the brush would
// leave, the shape decides how much of it lands. Inline, because a dab calls it three times per
// pixel.

#include <cstdint>

#include "render/random_seed.h"
#include "tools/brush_settings.h"

namespace lumetra {

// The value the mix makes of brush value b and canvas value c (0..255 each). Filter scales the
// canvas by 0.666 + b / 384, Add adds half the brush; both stop at 255.
inline float mixValue(ColorMix mix, std::int32_t b, std::int32_t c) {
    float v = float(b);
    if (mix == ColorMix::Filter) {
        v = float(double(b) * 0.0078125 * double(c) * 0.3333333333333333 + double(c) * 0.666);
        if (v > 255.0f) v = 255.0f;
    } else if (mix == ColorMix::Add) {
        v = float(b) * 0.5f + float(c);
        if (v > 255.0f) v = 255.0f;
    }
    return v;
}

// Spray paints v with a chance that grows with the mask value m, by one draw from `seed` whenever
// m is not 0; Round blends canvas and v by m; Rect paints v.
inline float landChannel(BrushShape shape, float v, std::int32_t c, std::int32_t m,
                         std::uint32_t sprayThreshold, RandomSeed& seed) {
    if (shape == BrushShape::Spray) {
        if (m == 0) return float(c);
        const std::uint32_t q = ((nextRandom(seed) >> 16) * std::uint32_t(m)) / 255u;
        return q <= sprayThreshold ? v : float(c);
    }
    if (shape == BrushShape::Round) {
        const float sum = float((255 - m) * c) + float(m) * v;
        return float(double(sum) * 0.00392156862745098);
    }
    return v;
}

// The new value of a canvas channel c under brush value b and mask value m (m is ignored by Rect).
inline float mixChannel(const BrushSettings& settings, std::int32_t b, std::int32_t c,
                        std::int32_t m, RandomSeed& seed) {
    return landChannel(settings.shape, mixValue(settings.mix, b, c), c, m, settings.sprayThreshold,
                       seed);
}

}  // namespace lumetra
