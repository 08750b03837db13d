#pragma once
// What the brush paints with: the dab's size, its two colours, shape, colour fade and mix, the
// spray density and the colour boiler's four parameters. The enumeration values are the numbers
// patches keep in their flags word, so they must never change.

#include <cstdint>

namespace lumetra {

enum class BrushShape : std::uint32_t { Spray = 1, Round = 2, Rect = 4 };
enum class ColorFade : std::uint32_t { Noise = 0x10, Right = 0x20, Down = 0x40 };
enum class ColorMix : std::uint32_t { Cover = 0x100, Add = 0x200, Filter = 0x400, Boil = 0x800 };

// Spray paints a covered channel when a draw's high 16 bits, scaled by the mask, lie at or below
// this: (density + 30) x density (31 for 1, 2800 for 40, 8800 for 80).
constexpr std::uint32_t sprayThresholdFor(std::int32_t density) {
    return static_cast<std::uint32_t>((density + 30) * density);
}

struct BrushSettings {
    std::int32_t width = 20;  // at least 1 each
    std::int32_t height = 20;
    std::uint32_t colour1 = 0x0000FF;  // colour words 0x00BBGGRR: red
    std::uint32_t colour2 = 0x00FF00;  // green
    BrushShape shape = BrushShape::Round;
    ColorFade fade = ColorFade::Right;
    ColorMix mix = ColorMix::Cover;
    std::int32_t sprayDensity = 40;  // 1..80 from the slider
    std::uint32_t sprayThreshold = sprayThresholdFor(40);
    std::int32_t heat = 0;  // the boiler's: -50..50 from the sliders, patches may go beyond
    std::int32_t blur = 0;
    std::int32_t cycle = 0;
    std::int32_t shift = 0;

    friend bool operator==(const BrushSettings&, const BrushSettings&) = default;
};

// Whether the shape weighs the dab by a mask (Rect paints every pixel of its rectangle).
constexpr bool shapeHasMask(BrushShape shape) {
    return shape == BrushShape::Spray || shape == BrushShape::Round;
}

// The channels of a colour word.
constexpr std::uint32_t redOf(std::uint32_t colour) {
    return colour & 0xFF;
}
constexpr std::uint32_t greenOf(std::uint32_t colour) {
    return (colour >> 8) & 0xFF;
}
constexpr std::uint32_t blueOf(std::uint32_t colour) {
    return (colour >> 16) & 0xFF;
}
constexpr std::uint32_t colourWord(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red | green << 8 | blue << 16;
}

}  // namespace lumetra
