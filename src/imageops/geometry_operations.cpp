#include "imageops/geometry_operations.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

#include "image/stretch_halftone.h"
#include "imageops/picture_region.h"

namespace lumetra {

void mirrorRegion(CanvasImage& image) {
    const Rect region = clippedOperationRegion(image);
    if (region.empty()) return;
    for (std::int32_t y = region.top; y < region.bottom; ++y) {
        std::uint8_t* row = image.pixels.pictureRow(y);
        std::uint8_t* left = row + 3 * std::size_t(region.left);
        std::uint8_t* right = row + 3 * std::size_t(region.right - 1);
        for (; left < right; left += 3, right -= 3)
            std::swap_ranges(left, left + 3, right);
    }
}

void flipRegion(CanvasImage& image) {
    const Rect region = clippedOperationRegion(image);
    const std::size_t offset = 3 * std::size_t(region.left);
    const std::size_t count = 3 * std::size_t(region.width());
    for (std::int32_t top = region.top, bottom = region.bottom - 1; top < bottom; ++top, --bottom) {
        std::uint8_t* upper = image.pixels.pictureRow(top) + offset;
        std::swap_ranges(upper, upper + count, image.pixels.pictureRow(bottom) + offset);
    }
}

DuplicationResult duplicatePicture(CanvasImage& image, Duplication kind) {
    if (!wellFormed(image.pixels)) return {};
    const bool doubles =
        kind == Duplication::DoubleHorizontally || kind == Duplication::DoubleVertically;
    const bool across =
        kind == Duplication::DoubleHorizontally || kind == Duplication::HalfHorizontally;
    PixelImage source;
    if (doubles) {
        const std::int32_t w0 = image.pixels.width, h0 = image.pixels.height;
        std::string message;
        auto larger = createCanvasBitmap(across ? 2 * w0 : w0, across ? h0 : 2 * h0, message);
        if (!larger) return {};
        source = std::exchange(image.pixels, std::move(*larger));
        image.settings.width = image.pixels.width;
        image.settings.height = image.pixels.height;
    } else {
        source = image.pixels;  // the copies are drawn over the picture they are made from
    }
    const std::int32_t w = image.pixels.width, h = image.pixels.height;
    std::int32_t copyWidth = w + w % 2, copyHeight = h + h % 2;
    if (kind == Duplication::HalfHorizontally) copyWidth /= 2;
    if (kind == Duplication::HalfVertically) copyHeight /= 2;
    std::int32_t x = 0, y = 0;
    if (across) x = doubles ? copyWidth / 2 : copyWidth;
    if (!across) y = doubles ? copyHeight / 2 : copyHeight;
    const StretchRect from{0, 0, w, h};
    stretchHalftone(image.pixels, {0, 0, copyWidth, copyHeight}, source, from);
    stretchHalftone(image.pixels, {x, y, copyWidth, copyHeight}, source, from);
    const Rect second{x, y, std::min(copyWidth, w), std::min(copyHeight, h)};
    image.selection = second.empty() ? Rect{} : second;
    return {true, doubles};
}

}  // namespace lumetra
