#pragma once
// The Brush Tools dialog's colour picture and the rules of picking from it: a 256 x 54 strip of a
// hue band, pure red, a grey ramp, pure green and a blue ramp.

#include <cstdint>
#include <optional>
#include <string>

#include "image/pixel_image.h"
#include "tools/brush_settings.h"

namespace lumetra {

inline constexpr std::int32_t kBrushPaletteWidth = 256;
inline constexpr std::int32_t kBrushPaletteHeight = 54;

// The colour word of palette pixel x (0..255 from the left) on screen row y (0..53 from the top).
std::uint32_t brushPaletteColour(std::int32_t x, std::int32_t y);

// The picture the dialog shows; nullopt with the program's text when it cannot be made.
std::optional<PixelImage> makeBrushPalette(std::string& message);

// Both colours as they were when a palette button went down: a drag keeps adding to these, not to
// its own previous pick.
struct PickBase {
    std::uint32_t colour1 = 0;
    std::uint32_t colour2 = 0;
};

// The colour a pick of palette colour `picked` makes of `base`. On the hue band, the pure rows and
// the grey ramp a plain pick replaces and a Shift-pick adds; on the blue ramp the other way round.
// Adding is per channel, capped at 255.
std::uint32_t pickedColour(std::uint32_t base, std::uint32_t picked, bool shift);

// A pick with the left button sets colour1, otherwise colour2.
void pickColour(BrushSettings& settings, const PickBase& base, std::uint32_t picked,
                bool leftButton, bool shift);

}  // namespace lumetra
