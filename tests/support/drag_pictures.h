#pragma once
// Pictures for the drag tests and benchmark: random bytes everywhere (row padding included, so
// that a stray write shows), and pictures whose every pixel tells where it stands.

#include <cstdint>

#include "image/pixel_image.h"

namespace lumetra::testing {

// Every byte random, deterministic for a seed.
PixelImage noisePicture(std::int32_t width, std::int32_t height, std::uint32_t seed);

// Pixel (x, y) holds blue = x, green = y, red = 0x80; padding bytes are 0xEE. At most 256 x 256.
PixelImage coordinatePicture(std::int32_t width, std::int32_t height);

// The picture coordinates a pixel of a coordinate picture came from.
struct SourcePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const SourcePoint&, const SourcePoint&) = default;
};
SourcePoint sourceOf(const PixelImage& picture, std::int32_t x, std::int32_t y);

}  // namespace lumetra::testing
