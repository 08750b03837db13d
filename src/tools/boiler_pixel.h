#pragma once
// The boiler's arithmetic for one pixel, in single precision and in the order the steps are
// described, so that every build boils alike.

#include <cstdint>

#include "tools/brush_settings.h"

namespace lumetra::boiler {

// The parameters as the pixel loop uses them.
struct Factors {
    bool blur = false, heat = false, cycle = false;
    float keep = 1.0f;         // 1 - b, b = blur / 100
    float k = 0.0f;            // b / 20: one unit of the 20-unit neighbour kernel
    float leftWeight = 1.0f;   // 2 - a, a = (50 - shift) / 50
    float rightWeight = 1.0f;  // a
    float heatValue = 0.0f;
    float cf = 0.0f;  // cycle / 1000
};

inline Factors factorsOf(const BrushSettings& s) {
    Factors f;
    const float b = float(s.blur) * 0.01f;
    f.blur = s.blur != 0;
    f.keep = 1.0f - b;
    f.k = b * 0.05f;
    const float a = float(50 - std::int64_t{s.shift}) * 0.02f;
    f.rightWeight = a;
    f.leftWeight = 2.0f - a;
    f.heat = s.heat != 0;
    f.heatValue = float(s.heat);
    f.cycle = s.cycle != 0;
    f.cf = float(s.cycle) * 0.001f;
    return f;
}

struct Weights {
    float blue = 0.0f, green = 0.0f, red = 0.0f;
};

inline constexpr float kByteScale = 0.003921568859368563f;  // 1 / 255 in single precision

// Channel `ch` (0 blue, 1 green, 2 red) of the pixel at `mid` blended with its eight neighbours in
// the rows `up` and `down`; the pixel itself is not in the kernel.
inline float blurChannel(const Factors& f, const std::uint8_t* up, const std::uint8_t* mid,
                         const std::uint8_t* down, int ch) {
    const std::int32_t left = up[ch - 3] + 4 * mid[ch - 3] + down[ch - 3];
    const std::int32_t right = up[ch + 3] + 4 * mid[ch + 3] + down[ch + 3];
    const std::int32_t centre = 4 * (up[ch] + down[ch]);
    const float s = f.leftWeight * float(left) + f.rightWeight * float(right) + float(centre);
    return f.keep * float(mid[ch]) + f.k * s;
}

// One turn around the 0..255 circle at most. Red wraps from 255.5 on, green and blue above it.
inline float heatChannel(float v, float weight, float heat, bool red) {
    v = v + weight * heat;
    if (v <= 0.0f) {
        v = v + 255.0f;
    } else if (red ? v >= 255.5f : v > 255.5f) {
        v = v - 255.0f;
    }
    return v;
}

// Rounded, and only the low 8 bits kept: over-bright values wrap to dark ones. Parameters far
// beyond the sliders' ranges make values no integer holds; from 2^31 on a float is a multiple of
// 256, so its low 8 bits are 0, and the conversion never sees such a value.
inline std::uint8_t boilerByte(float v) {
    if (!(v > 0.0f) || v >= 2147483648.0f) return 0;
    return static_cast<std::uint8_t>(static_cast<std::int64_t>(v + 0.5f));
}

// Boils the pixel at `mid` (its neighbours in `up` and `down`) into `out`. `m` is the shape's
// weight (used when Masked). In selection mode a black pixel that stays black under the blur is
// left alone.
template <bool Selection, bool Masked>
inline void boilPixel(const Factors& f, const std::uint8_t* up, const std::uint8_t* mid,
                      const std::uint8_t* down, const Weights& w, float m, std::uint8_t* out) {
    const float B = mid[0], G = mid[1], R = mid[2];
    float b = B, g = G, r = R;
    if (f.blur) {
        b = blurChannel(f, up, mid, down, 0);
        g = blurChannel(f, up, mid, down, 1);
        r = blurChannel(f, up, mid, down, 2);
    }
    if (Selection && r + g + b + R + G + B < 0.001f) return;
    if (f.heat) {
        if (R != 0.0f) r = heatChannel(r, w.red, f.heatValue, true);
        if (G != 0.0f) g = heatChannel(g, w.green, f.heatValue, false);
        if (B != 0.0f) b = heatChannel(b, w.blue, f.heatValue, false);
    }
    if (f.cycle) {
        if (B != 0.0f) {
            r = r + (b + g) * f.cf;
            g = g + (b + r) * f.cf;
        }
        if (R != 0.0f || G != 0.0f) b = b + (g + r) * f.cf;
    }
    r = (1.0f - w.red) * R + w.red * r;
    g = (1.0f - w.green) * G + w.green * g;
    b = (1.0f - w.blue) * B + w.blue * b;
    if (Masked) {
        r = m * r + (1.0f - m) * R;
        g = m * g + (1.0f - m) * G;
        b = m * b + (1.0f - m) * B;
    }
    out[0] = boilerByte(b);
    out[1] = boilerByte(g);
    out[2] = boilerByte(r);
}

}  // namespace lumetra::boiler
