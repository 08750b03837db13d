#include "tools/brush.h"

#include <cmath>
#include <cstring>
#include <new>

#include "render/seed_stream.h"

namespace lumetra {
namespace {

struct Channels {
    std::int64_t blue, green, red;
};

Channels channelsOf(std::uint32_t colour) {
    return {blueOf(colour), greenOf(colour), redOf(colour)};
}

void storePixel(std::uint8_t* p, std::int64_t blue, std::int64_t green, std::int64_t red) {
    p[0] = static_cast<std::uint8_t>(blue);
    p[1] = static_cast<std::uint8_t>(green);
    p[2] = static_cast<std::uint8_t>(red);
}

// Each pixel the brighter of a random scaling of colour1 and one of colour2. The choice is made
// without a branch: it is a coin toss that no predictor would guess.
void fillNoise(Brush& brush, RandomSeed& seed) {
    PixelImage& bitmap = brush.bitmap;
    const Channels c1 = channelsOf(brush.settings.colour1);
    const Channels c2 = channelsOf(brush.settings.colour2);
    SeedStream draws(seed);
    for (std::int32_t j = 0; j < bitmap.height; ++j) {
        std::uint8_t* p = bitmap.memoryRow(j);
        for (std::int32_t i = 0; i < bitmap.width; ++i, p += 3) {
            const std::int64_t t1 = (draws.next() >> 21) + 2048;
            const std::int64_t t2 = (draws.next() >> 21) + 2048;
            const bool first = t1 > t2;
            const std::int64_t t = first ? t1 : t2;
            storePixel(p, ((first ? c1.blue : c2.blue) * t) >> 12,
                       ((first ? c1.green : c2.green) * t) >> 12,
                       ((first ? c1.red : c2.red) * t) >> 12);
        }
    }
}

// The seed as if `count` draws had been made: the generator's step composed with itself.
void skipDraws(RandomSeed& seed, std::uint64_t count) {
    std::uint32_t a = 1664525u, c = 1013904223u;  // one step
    std::uint32_t totalA = 1, totalC = 0;         // no step
    for (; count != 0; count >>= 1) {
        if (count & 1) {
            totalA = a * totalA;
            totalC = a * totalC + c;
        }
        c = a * c + c;
        a = a * a;
    }
    seed.value = totalA * seed.value + totalC;
}

// The two quotients are truncated separately, so the left column is exactly colour1. Every row
// is the same: the first is computed, the others copied.
void fillRight(Brush& brush) {
    PixelImage& bitmap = brush.bitmap;
    const Channels c1 = channelsOf(brush.settings.colour1);
    const Channels c2 = channelsOf(brush.settings.colour2);
    const std::int64_t w = bitmap.width;
    std::uint8_t* first = bitmap.memoryRow(0);
    for (std::int64_t i = 0; i < w; ++i) {
        storePixel(first + 3 * i, (c1.blue * (w - i)) / w + (c2.blue * i) / w,
                   (c1.green * (w - i)) / w + (c2.green * i) / w,
                   (c1.red * (w - i)) / w + (c2.red * i) / w);
    }
    for (std::int32_t j = 1; j < bitmap.height; ++j)
        std::memcpy(bitmap.memoryRow(j), first, 3 * std::size_t(w));
}

// Colour2 at the bottom row, towards colour1 at the top; one colour per row.
void fillDown(Brush& brush) {
    PixelImage& bitmap = brush.bitmap;
    const Channels c1 = channelsOf(brush.settings.colour1);
    const Channels c2 = channelsOf(brush.settings.colour2);
    const std::int64_t h = bitmap.height;
    for (std::int64_t j = 0; j < h; ++j) {
        std::uint8_t pixel[3];
        storePixel(pixel, (c2.blue * (h - j)) / h + (c1.blue * j) / h,
                   (c2.green * (h - j)) / h + (c1.green * j) / h,
                   (c2.red * (h - j)) / h + (c1.red * j) / h);
        std::uint8_t* p = bitmap.memoryRow(static_cast<std::int32_t>(j));
        for (std::int32_t i = 0; i < bitmap.width; ++i, p += 3)
            std::memcpy(p, pixel, 3);
    }
}

// The ellipse inscribed in the dab. The k term lifts a brush one pixel wide or high off the
// ellipse's edge, where every weight would be 0.
void computeMask(Brush& brush) {
    const std::int32_t w = brush.settings.width;
    const std::int32_t h = brush.settings.height;
    const bool spray = brush.settings.shape == BrushShape::Spray;
    const float hw = float(w) * 0.5f;
    const float hh = float(h) * 0.5f;
    const float k = (w == 1 || h == 1) ? 0.9f : 0.0f;
    std::uint8_t* m = brush.mask.data();
    for (std::int32_t j = 0; j < h; ++j) {
        const float y = (float(j) - hh) * (1.0f / hh);
        const float ysq = y * y - k;
        for (std::int32_t i = 0; i < w; ++i, ++m) {
            const float x = (float(i) - hw) * (1.0f / hw);
            float d = std::sqrt(x * x + ysq);
            if (d > 1.0f) d = 1.0f;
            *m = spray ? (d < 1.0f ? 255 : 0) : static_cast<std::uint8_t>((1.0f - d) * 255.0f);
        }
    }
}

bool fitsLimit(const BrushSettings& s, std::int64_t byteLimit) {
    if (s.width < 1 || s.height < 1) return false;
    const std::int64_t pixels = rowStride(s.width) * s.height;
    const std::int64_t mask = shapeHasMask(s.shape) ? std::int64_t{s.width} * s.height : 0;
    return pixels + mask <= byteLimit;
}

}  // namespace

void refillBrush(Brush& brush, RandomSeed& seed) {
    switch (brush.settings.fade) {
        case ColorFade::Noise:
            fillNoise(brush, seed);
            break;
        case ColorFade::Right:
            fillRight(brush);
            break;
        case ColorFade::Down:
            fillDown(brush);
            break;
    }
}

bool buildBrush(Brush& brush, const BrushSettings& settings, RandomSeed& seed, std::string& message,
                BrushFill fill) {
    if (!fitsLimit(settings, brush.byteLimit)) {
        message = kBrushBitmapFailure;
        return false;
    }
    const bool resize =
        brush.bitmap.width != settings.width || brush.bitmap.height != settings.height;
    const std::size_t maskBytes = shapeHasMask(settings.shape)
                                      ? std::size_t(settings.width) * std::size_t(settings.height)
                                      : 0;
    std::string ignored;
    std::optional<PixelImage> bitmap;
    std::vector<std::uint8_t> mask;
    if (resize && !(bitmap = createCanvasBitmap(settings.width, settings.height, ignored))) {
        message = kBrushBitmapFailure;
        return false;
    }
    try {
        if (brush.mask.size() != maskBytes) mask.resize(maskBytes);
    } catch (const std::bad_alloc&) {
        message = kBrushBitmapFailure;
        return false;
    }
    // Everything needed is at hand: from here on nothing can fail.
    if (bitmap) brush.bitmap = std::move(*bitmap);
    if (brush.mask.size() != maskBytes) brush.mask = std::move(mask);
    brush.settings = settings;
    if (fill == BrushFill::SeedOnly && settings.fade == ColorFade::Noise) {
        skipDraws(seed, 2 * std::uint64_t(settings.width) * std::uint64_t(settings.height));
    } else {
        refillBrush(brush, seed);
    }
    if (maskBytes != 0) computeMask(brush);
    return true;
}

}  // namespace lumetra
