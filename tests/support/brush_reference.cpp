#include "brush_reference.h"

#include <cmath>

#include "boiler_reference.h"

namespace lumetra::testing {
namespace {

unsigned channel(std::uint32_t colour, int ch) {
    // ch 0 blue, 1 green, 2 red: blue is the colour word's third byte, red its first.
    return (colour >> (8 * (2 - ch))) & 0xFF;
}

std::uint8_t* brushPixel(ReferenceBrush& brush, int i, int j) {
    return &brush.pixels[3 * (std::size_t(j) * brush.settings.width + i)];
}

void referenceFillBrush(ReferenceBrush& brush, RandomSeed& seed) {
    const BrushSettings& s = brush.settings;
    const long long w = s.width, h = s.height;
    for (int j = 0; j < s.height; ++j) {
        for (int i = 0; i < s.width; ++i) {
            std::uint8_t* p = brushPixel(brush, i, j);
            if (s.fade == ColorFade::Noise) {
                const std::uint32_t r1 = nextRandom(seed);
                const std::uint32_t r2 = nextRandom(seed);
                const unsigned t1 = (r1 >> 21) + 2048;
                const unsigned t2 = (r2 >> 21) + 2048;
                for (int ch = 0; ch < 3; ++ch) {
                    if (t1 > t2) {
                        p[ch] = std::uint8_t((channel(s.colour1, ch) * t1) >> 12);
                    } else {
                        p[ch] = std::uint8_t((channel(s.colour2, ch) * t2) >> 12);
                    }
                }
            } else if (s.fade == ColorFade::Right) {
                for (int ch = 0; ch < 3; ++ch)
                    p[ch] = std::uint8_t(channel(s.colour1, ch) * (w - i) / w +
                                         channel(s.colour2, ch) * i / w);
            } else {
                for (int ch = 0; ch < 3; ++ch)
                    p[ch] = std::uint8_t(channel(s.colour2, ch) * (h - j) / h +
                                         channel(s.colour1, ch) * j / h);
            }
        }
    }
}

float referenceMixChannel(const BrushSettings& settings, int b, int c, int m, RandomSeed& seed) {
    float v;
    if (settings.mix == ColorMix::Filter) {
        v = float(b * 0.0078125 * c * 0.3333333333333333 + c * 0.666);
        if (v > 255) v = 255;
    } else if (settings.mix == ColorMix::Add) {
        v = float(b * 0.5 + c);
        if (v > 255) v = 255;
    } else {
        v = float(b);
    }
    if (settings.shape == BrushShape::Spray) {
        if (m == 0) return float(c);
        const std::uint32_t r = nextRandom(seed);
        const std::uint32_t q = ((r >> 16) * std::uint32_t(m)) / 255u;
        if (q <= settings.sprayThreshold) return v;
        return float(c);
    }
    if (settings.shape == BrushShape::Round) {
        const int canvasPart = (255 - m) * c;
        const float sum = canvasPart + m * v;
        return float(sum * 0.00392156862745098);
    }
    return v;
}

}  // namespace

ReferenceBrush referenceBuildBrush(const BrushSettings& settings, RandomSeed& seed) {
    ReferenceBrush brush;
    brush.settings = settings;
    const std::size_t count = std::size_t(settings.width) * settings.height;
    brush.pixels.assign(3 * count, 0);
    brush.mask.assign(count, 0);
    referenceFillBrush(brush, seed);
    if (settings.shape == BrushShape::Rect) return brush;
    const float hw = settings.width * 0.5f;
    const float hh = settings.height * 0.5f;
    float k = 0.0f;
    if (settings.width == 1 || settings.height == 1) k = 0.9f;
    for (int j = 0; j < settings.height; ++j) {
        for (int i = 0; i < settings.width; ++i) {
            const float y = (j - hh) * (1.0f / hh);
            const float ysq = y * y - k;
            const float x = (i - hw) * (1.0f / hw);
            float d = std::sqrt(x * x + ysq);
            if (d > 1.0f) d = 1.0f;
            std::uint8_t m;
            if (settings.shape == BrushShape::Spray) {
                m = d < 1.0f ? 255 : 0;
            } else {
                m = std::uint8_t((1.0f - d) * 255.0f);
            }
            brush.mask[std::size_t(j) * settings.width + i] = m;
        }
    }
    return brush;
}

void referencePaintDab(CanvasImage& image, ReferenceBrush& brush, RandomSeed& seed, int x, int y) {
    const BrushSettings& s = brush.settings;
    const int left = x - s.width / 2;
    const int top = y - s.height / 2;
    if (s.fade == ColorFade::Noise) referenceFillBrush(brush, seed);
    if (s.mix == ColorMix::Boil) {
        referenceRunBoiler(image, brush, Rect{left, top, left + s.width, top + s.height}, true);
        return;
    }
    PixelImage& pixels = image.pixels;
    for (int j = 0; j < s.height; ++j) {
        for (int i = 0; i < s.width; ++i) {
            const int px = left + i;
            const int py = top + s.height - 1 - j;  // dab row j counts from the bottom
            if (px < 0 || px >= pixels.width || py < 0 || py >= pixels.height) continue;
            const std::uint8_t* b = brushPixel(brush, i, j);
            const int m = brush.mask[std::size_t(j) * s.width + i];
            const Rgb c = pixelAt(pixels, px, py);
            float blue = referenceMixChannel(s, b[0], c.blue, m, seed);
            const float green = referenceMixChannel(s, b[1], c.green, m, seed);
            const float red = referenceMixChannel(s, b[2], c.red, m, seed);
            if (green == 0 && red == 0) blue = 0;
            setPixel(
                pixels, px, py,
                Rgb{std::uint8_t(int(red)), std::uint8_t(int(green)), std::uint8_t(int(blue))});
        }
    }
}

void referenceApplyBrush(CanvasImage& image, ReferenceBrush& brush, RandomSeed& seed) {
    const Rect region = operationRegion(image);
    const BrushSettings kept = brush.settings;
    BrushSettings settings = kept;
    settings.width = region.width();
    settings.height = region.height();
    if (settings.mix == ColorMix::Boil) settings.mix = ColorMix::Cover;
    brush = referenceBuildBrush(settings, seed);
    referencePaintDab(image, brush, seed, region.left + settings.width / 2,
                      region.top + settings.height / 2);
    brush = referenceBuildBrush(kept, seed);
}

}  // namespace lumetra::testing
