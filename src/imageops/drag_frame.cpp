#include "imageops/drag_frame.h"

#include <algorithm>

namespace lumetra {
namespace {

bool holdsPixels(const PixelImage& image) {
    return !image.empty() && image.stride >= rowStride(image.width) &&
           image.bytes.size() >=
               static_cast<std::size_t>(image.stride) * static_cast<std::size_t>(image.height);
}

bool sameLayout(const PixelImage& a, const PixelImage& b) {
    return a.width == b.width && a.height == b.height && a.stride == b.stride;
}

}  // namespace

std::optional<DragFrame> dragFrame(const PixelImage& source, PixelImage& destination,
                                   const Rect& region) {
    if (!holdsPixels(source) || !holdsPixels(destination) || !sameLayout(source, destination))
        return std::nullopt;
    if (source.bytes.data() == destination.bytes.data()) return std::nullopt;
    const std::int32_t w = destination.width;
    const std::int32_t h = destination.height;
    DragFrame f;
    f.left = std::clamp(region.left, 0, w);
    f.right = std::clamp(region.right, 0, w);
    const std::int32_t top = std::clamp(region.top, 0, h);
    const std::int32_t bottom = std::clamp(region.bottom, 0, h);
    if (f.left >= f.right || top >= bottom) return std::nullopt;
    f.rowFirst = h - bottom;
    f.rowEnd = h - top;
    f.source = source.bytes.data();
    f.destination = destination.bytes.data();
    f.stride = static_cast<std::size_t>(destination.stride);
    f.width = w;
    f.height = h;
    f.wideReadLimit = f.stride * static_cast<std::size_t>(h) - 4;
    return f;
}

}  // namespace lumetra
