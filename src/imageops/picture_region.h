#pragma once
// The rectangle an operation walks: the operation region cut to the picture, so that the loops
// need no checks of their own whatever selection they are given; nothing of a picture whose bytes
// do not match its size.

#include <algorithm>

#include "document/canvas_image.h"

namespace lumetra {

inline Rect clippedRegion(const PixelImage& pixels, const Rect& region) {
    if (!wellFormed(pixels)) return Rect{};
    const std::int32_t left = std::clamp(region.left, 0, pixels.width);
    const std::int32_t top = std::clamp(region.top, 0, pixels.height);
    return Rect{left, top, std::clamp(region.right, left, pixels.width),
                std::clamp(region.bottom, top, pixels.height)};
}

inline Rect clippedOperationRegion(const CanvasImage& image) {
    return clippedRegion(image.pixels, operationRegion(image));
}

}  // namespace lumetra
