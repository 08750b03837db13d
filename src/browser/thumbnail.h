#pragma once
// The image browser's thumbnails: a whole picture stretched onto 64 x 50 pixels (aspect ratio not
// kept) with the program's halftone stretch, that is the area average of stretchHalftone, pixel
// for pixel. A filter folder may hold hundreds of large pictures, so the thumbnail is made in one
// pass of whole-number sums (straight from the file's rows for a plain 24-bit BMP) rather than
// through a decoded copy and the general stretch.

#include <cstdint>
#include <optional>
#include <span>

#include "image/pixel_image.h"

namespace lumetra {

inline constexpr std::int32_t kThumbnailWidth = 64;
inline constexpr std::int32_t kThumbnailHeight = 50;

// The thumbnail of a picture; nullopt for an empty or malformed picture.
std::optional<PixelImage> makeThumbnail(const PixelImage& picture);

// The thumbnail of a BMP file held in memory, as the BMP reader and makeThumbnail would make it;
// nullopt when the reader refuses the file.
std::optional<PixelImage> thumbnailFromBmp(std::span<const std::uint8_t> file);

// The thumbnail as the browser draws it: mirrored left-right and/or turned upside down.
PixelImage flippedThumbnail(const PixelImage& thumbnail, bool mirror, bool upsideDown);

}  // namespace lumetra
