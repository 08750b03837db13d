#include "tools/brush_palette.h"

#include <algorithm>

namespace lumetra {
namespace {

constexpr std::int32_t kHueRows = 32;
constexpr std::int32_t kRedRow = 32;
constexpr std::int32_t kGreyEnd = 43;  // grey rows 33..42
constexpr std::int32_t kGreenRow = 43;

// Band row k runs from 32 at the top to 1: red rising into green at full strength, fading
// towards black further down.
std::uint32_t hueColour(std::int32_t x, std::int32_t k) {
    if (x < 128) return colourWord(std::uint32_t(255 * k / 32), std::uint32_t(2 * k * x / 32), 0);
    const std::int32_t j = x - 128;
    return colourWord(std::uint32_t((254 * k - 2 * k * j) / 32), std::uint32_t(255 * k / 32), 0);
}

}  // namespace

std::uint32_t brushPaletteColour(std::int32_t x, std::int32_t y) {
    if (y < kHueRows) return hueColour(x, kHueRows - y);
    if (y == kRedRow) return colourWord(255, 0, 0);
    if (y < kGreyEnd) return colourWord(std::uint32_t(x), std::uint32_t(x), std::uint32_t(x));
    if (y == kGreenRow) return colourWord(0, 255, 0);
    return colourWord(0, 0, std::uint32_t(255 - x));
}

std::optional<PixelImage> makeBrushPalette(std::string& message) {
    std::optional<PixelImage> palette =
        createCanvasBitmap(kBrushPaletteWidth, kBrushPaletteHeight, message);
    if (!palette) return palette;
    for (std::int32_t y = 0; y < kBrushPaletteHeight; ++y) {
        for (std::int32_t x = 0; x < kBrushPaletteWidth; ++x) {
            const std::uint32_t c = brushPaletteColour(x, y);
            setPixel(
                *palette, x, y,
                Rgb{std::uint8_t(redOf(c)), std::uint8_t(greenOf(c)), std::uint8_t(blueOf(c))});
        }
    }
    return palette;
}

std::uint32_t pickedColour(std::uint32_t base, std::uint32_t picked, bool shift) {
    const bool grey = redOf(picked) == greenOf(picked) && greenOf(picked) == blueOf(picked);
    const bool plainReplaces = blueOf(picked) == 0 || grey;
    if (plainReplaces != shift) return picked;
    return colourWord(std::min(redOf(base) + redOf(picked), 255u),
                      std::min(greenOf(base) + greenOf(picked), 255u),
                      std::min(blueOf(base) + blueOf(picked), 255u));
}

void pickColour(BrushSettings& settings, const PickBase& base, std::uint32_t picked,
                bool leftButton, bool shift) {
    if (leftButton) {
        settings.colour1 = pickedColour(base.colour1, picked, shift);
    } else {
        settings.colour2 = pickedColour(base.colour2, picked, shift);
    }
}

}  // namespace lumetra
