#include "tools/paint_dab.h"

#include <algorithm>

#include "tools/brush_mix.h"

namespace lumetra {
namespace {

std::uint8_t truncated(float v) {
    return static_cast<std::uint8_t>(static_cast<std::int32_t>(v));
}

// The brush's dab mixed into the picture, for one mix and shape. Only the part inside the
// picture is visited: bottom row of the dab first, pixels left to right.
template <ColorMix Mix, BrushShape Shape>
void mixDab(const Brush& brush, PixelImage& pixels, const Rect& dab, RandomSeed& seed) {
    constexpr bool kMasked = shapeHasMask(Shape);
    const std::uint32_t threshold = brush.settings.sprayThreshold;
    const std::int32_t x0 = std::max(dab.left, 0);
    const std::int32_t x1 =
        static_cast<std::int32_t>(std::min<std::int64_t>(dab.right, pixels.width));
    const std::int32_t y0 = std::max(dab.top, 0);
    const std::int32_t y1 =
        static_cast<std::int32_t>(std::min<std::int64_t>(dab.bottom, pixels.height));
    for (std::int32_t y = y1 - 1; y >= y0; --y) {
        const std::int32_t j = dab.bottom - 1 - y;  // brush row, counted from the bottom
        const std::size_t i0 = std::size_t(x0 - dab.left);
        const std::uint8_t* b = brush.bitmap.memoryRow(j) + 3 * i0;
        const std::uint8_t* m =
            kMasked ? brush.mask.data() + std::size_t(j) * brush.bitmap.width + i0 : nullptr;
        std::uint8_t* c = pixels.pictureRow(y) + 3 * std::size_t(x0);
        for (std::int32_t x = x0; x < x1; ++x, b += 3, c += 3) {
            const std::int32_t mask = kMasked ? *m++ : 0;
            float blue = landChannel(Shape, mixValue(Mix, b[0], c[0]), c[0], mask, threshold, seed);
            const float green =
                landChannel(Shape, mixValue(Mix, b[1], c[1]), c[1], mask, threshold, seed);
            const float red =
                landChannel(Shape, mixValue(Mix, b[2], c[2]), c[2], mask, threshold, seed);
            if (green == 0.0f && red == 0.0f) blue = 0.0f;
            c[0] = truncated(blue);
            c[1] = truncated(green);
            c[2] = truncated(red);
        }
    }
}

template <ColorMix Mix>
void mixDabOfShape(const Brush& brush, PixelImage& pixels, const Rect& dab, RandomSeed& seed) {
    switch (brush.settings.shape) {
        case BrushShape::Spray:
            mixDab<Mix, BrushShape::Spray>(brush, pixels, dab, seed);
            break;
        case BrushShape::Round:
            mixDab<Mix, BrushShape::Round>(brush, pixels, dab, seed);
            break;
        case BrushShape::Rect:
            mixDab<Mix, BrushShape::Rect>(brush, pixels, dab, seed);
            break;
    }
}

// A dab of any mix but Boil.
void mixDabOfMix(const Brush& brush, PixelImage& pixels, const Rect& dab, RandomSeed& seed) {
    switch (brush.settings.mix) {
        case ColorMix::Add:
            mixDabOfShape<ColorMix::Add>(brush, pixels, dab, seed);
            break;
        case ColorMix::Filter:
            mixDabOfShape<ColorMix::Filter>(brush, pixels, dab, seed);
            break;
        default:
            mixDabOfShape<ColorMix::Cover>(brush, pixels, dab, seed);
            break;
    }
}

bool isBuilt(const Brush& brush) {
    return brush.bitmap.width == brush.settings.width &&
           brush.bitmap.height == brush.settings.height && !brush.bitmap.empty();
}

}  // namespace

Rect dabRect(const BrushSettings& settings, std::int32_t x, std::int32_t y) {
    const std::int32_t left = x - settings.width / 2;
    const std::int32_t top = y - settings.height / 2;
    return Rect{left, top, left + settings.width, top + settings.height};
}

bool paintDab(BrushTool& tool, CanvasImage& image, RandomSeed& seed, std::int32_t x, std::int32_t y,
              std::string& message) {
    Brush& brush = tool.brush;
    if (!isBuilt(brush)) return true;
    const Rect dab = dabRect(brush.settings, x, y);
    const bool boil = brush.settings.mix == ColorMix::Boil;
    // The scratch first, so that a failure leaves the seed and the noise as they were.
    if (boil && !ensureBoilerScratch(tool.boiler, dab.width(), dab.height(), message)) return false;
    if (brush.settings.fade == ColorFade::Noise) refillBrush(brush, seed);
    if (boil) return runBoiler(image, brush, tool.boiler, dab, BoilerMode::Dab, message);
    mixDabOfMix(brush, image.pixels, dab, seed);
    return true;
}

bool applyBrushToImage(BrushTool& tool, CanvasImage& image, RandomSeed& seed,
                       std::string& message) {
    const Rect region = operationRegion(image);
    BrushSettings settings = tool.brush.settings;
    settings.width = region.width();
    settings.height = region.height();
    if (settings.mix == ColorMix::Boil) settings.mix = ColorMix::Cover;
    Brush regionBrush;
    regionBrush.byteLimit = tool.brush.byteLimit;
    // The dab refills a Noise brush at once: its first noise would never be seen.
    if (!buildBrush(regionBrush, settings, seed, message, BrushFill::SeedOnly)) return false;
    if (settings.fade == ColorFade::Noise) refillBrush(regionBrush, seed);
    mixDabOfMix(
        regionBrush, image.pixels,
        dabRect(settings, region.left + settings.width / 2, region.top + settings.height / 2),
        seed);
    // The brush at its own size again: the same fill a rebuild makes (fresh noise).
    refillBrush(tool.brush, seed);
    return true;
}

bool applyColorBoiler(BrushTool& tool, CanvasImage& image, std::string& message) {
    return runBoiler(image, tool.brush, tool.boiler, operationRegion(image), BoilerMode::Selection,
                     message);
}

}  // namespace lumetra
