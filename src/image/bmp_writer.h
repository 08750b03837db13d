#pragma once
// The headers of the uncompressed 24-bit BMP files the program writes.

#include <array>
#include <cstdint>
#include <filesystem>

#include "image/pixel_image.h"

namespace lumetra {

inline constexpr std::size_t kBmpHeaderBytes = 54;

// The 14-byte file header and the 40-byte info header of a 24-bit bottom-up picture.
std::array<std::uint8_t, kBmpHeaderBytes> encodeBmpHeader(const PixelImage& pixels);

}  // namespace lumetra
