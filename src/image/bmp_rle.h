#pragma once
// Run-length encoded BMP pixels (RLE8 and RLE4): the second half of the BMP decoder.

#include <cstdint>
#include <span>
#include <string>

#include "image/bmp_layout.h"
#include "image/pixel_image.h"

namespace lumetra {

// Decodes the runs starting at the layout's pixel offset into `image` (black where the runs skip
// pixels). Fails with "Truncated BMP file" when the data ends before the end-of-bitmap mark and
// before the last row. `dataEnd` becomes the offset just past the last run read.
bool decodeRle(std::span<const std::uint8_t> file, const BmpLayout& layout, PixelImage& image,
               std::uint64_t& dataEnd, std::string& message);

}  // namespace lumetra
