#pragma once
// A BMP decoder that needs no platform: 1, 4, 8, 16, 24 and 32 bits per pixel, RLE4 and RLE8,
// bit-field masks, top-down and bottom-up pictures, the old 12-byte core header up to the V5
// header. Every picture becomes the program's 24-bit pixel store. Whatever the headers claim, the
// decoder reads only inside the given bytes and refuses pictures that would not fit in memory.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "image/pixel_image.h"

namespace lumetra {

struct BmpReadResult {
    std::optional<PixelImage> pixels;  // nothing when the file was refused
    std::string message;               // why it was refused
    std::uint64_t pixelDataEnd = 0;    // offset just past the pixel data that was read
};

// Decodes a whole BMP file held in memory. Pictures above the readers' limits (pixel_image.h) or
// with more than `maxPixelBytes` bytes in the 24-bit store are refused with "Picture too large
// (W x H)" and the limits, before anything is allocated.
BmpReadResult decodeBmp(std::span<const std::uint8_t> file,
                        std::int64_t maxPixelBytes = kMaxPixelBytes);

// Decodes a packed DIB block, the picture format of the clipboard: an info header (12, 40, 52,
// 56, 64, 108 or 124 bytes), the masks and colour table, the pixels; no file header. Everything
// the file decoder reads, 16 and 32 bits included; the block's length is the bound of every read.
BmpReadResult decodeDib(std::span<const std::uint8_t> block,
                        std::int64_t maxPixelBytes = kMaxPixelBytes);

}  // namespace lumetra
