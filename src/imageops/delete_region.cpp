#include "imageops/delete_region.h"

#include <algorithm>
#include <cstring>

namespace lumetra {

void deleteRegion(CanvasImage& image) {
    PixelImage& pixels = image.pixels;
    if (pixels.empty()) return;
    const Rect region = operationRegion(image);
    const std::int32_t left = std::clamp(region.left, 0, pixels.width);
    const std::int32_t right = std::clamp(region.right, 0, pixels.width);
    const std::int32_t top = std::clamp(region.top, 0, pixels.height);
    const std::int32_t bottom = std::clamp(region.bottom, 0, pixels.height);
    if (left >= right) return;
    for (std::int32_t y = top; y < bottom; ++y)
        std::memset(pixels.pictureRow(y) + 3 * std::size_t(left), 0, 3 * std::size_t(right - left));
}

}  // namespace lumetra
