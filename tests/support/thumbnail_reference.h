#pragma once
// The plain way to a browser thumbnail, for the tests and the benchmark: the BMP reader's picture
// stretched onto a black 64 x 50 picture with the general halftone stretch. Also BMP files of
// random pictures to feed it.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "image/pixel_image.h"
#include "imageops_reference.h"

namespace lumetra::testing {

std::optional<PixelImage> referenceThumbnail(std::span<const std::uint8_t> bmpFile);

// The same as randomPicture (imageops_reference.h), under the name the thumbnail tests know.
inline PixelImage noisePicture(std::int32_t width, std::int32_t height, std::uint32_t seed) {
    return randomPicture(width, height, seed);
}

// The picture as a 24-bit bottom-up BMP file.
std::vector<std::uint8_t> bmpFileOf(const PixelImage& picture);

}  // namespace lumetra::testing
