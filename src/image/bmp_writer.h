#pragma once
// The headers of the uncompressed 24-bit BMP files the program writes.

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "image/pixel_image.h"
#include "image/rect.h"

namespace lumetra {

inline constexpr std::size_t kBmpHeaderBytes = 54;

// The 14-byte file header and the 40-byte info header of a 24-bit bottom-up picture.
std::array<std::uint8_t, kBmpHeaderBytes> encodeBmpHeader(const PixelImage& pixels);

// A rectangle of the picture as a packed 24-bit bottom-up DIB block (the 40-byte info header and
// the rows), what the program puts on the clipboard. The rectangle is cut to the picture; empty
// when nothing of it is left or the memory cannot be had.
std::vector<std::uint8_t> encodeDib(const PixelImage& pixels, const Rect& region);

}  // namespace lumetra
