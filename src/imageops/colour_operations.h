#pragma once
// The Colors menu: point operations on the pixel bytes. The channels are loudnesses (red left,
// green right, blue noise), so these change the loudness and contrast of the sound.

#include <array>
#include <cstdint>

#include "document/canvas_image.h"

namespace lumetra {

enum class ColourOperation {
    Normalize,        // 223: the brightest byte of the region is lifted towards 255
    Brighten,         // 224: every byte times 1.3 (the single-precision value)
    Darken,           // 225: every byte times 0.87 (the single-precision value)
    MoreContrast,     // 226: (v - 128) * 1.5 + 160
    Invert,           // 227: 255 - v
    ClearExcessBlue,  // 228: blue goes where green and red are both 0, in the whole picture
};

// The factors as the single-precision constants they are, widened exactly.
inline constexpr double kBrightenFactor = static_cast<double>(1.3f);  // 1.2999999523162842
inline constexpr double kDarkenFactor = static_cast<double>(0.87f);   // 0.8700000047683716

// Every byte of the operation region (ClearExcessBlue: of the whole picture) as the operation
// says, in one pass over the rows; the row padding stays as it is. A region reaching beyond the
// picture is cut to it.
void applyColourOperation(CanvasImage& image, ColourOperation operation);

// What Brighten, Darken, More Contrast or Normalize make of each byte value: x computed in double
// precision, clamped to 0 .. 255 and truncated toward zero. `brightest` is the region's largest
// byte, used by Normalize only: at 255 (and at 0, all black) nothing changes.
using ByteMap = std::array<std::uint8_t, 256>;
ByteMap colourByteMap(ColourOperation operation, std::uint8_t brightest = 255);

// The largest byte of any channel of any pixel of the operation region (0 for an empty one).
std::uint8_t brightestByte(const CanvasImage& image);

}  // namespace lumetra
