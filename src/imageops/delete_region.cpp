#include "imageops/delete_region.h"

#include <cstring>

#include "imageops/picture_region.h"

namespace lumetra {

void deleteRegion(CanvasImage& image) {
    PixelImage& pixels = image.pixels;
    const Rect region = clippedOperationRegion(image);
    if (region.empty()) return;
    for (std::int32_t y = region.top; y < region.bottom; ++y)
        std::memset(pixels.pictureRow(y) + 3 * std::size_t(region.left), 0,
                    3 * std::size_t(region.width()));
}

}  // namespace lumetra
