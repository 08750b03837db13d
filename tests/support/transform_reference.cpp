#include "transform_reference.h"

#include <algorithm>
#include <cstdint>

#include "base/float_conversion.h"

namespace lumetra::testing {
namespace {

// trunc(x) mod n in [0, n); beyond the int32 range x saturates, NaN counts as 0.
std::int32_t wrapped(float x, std::int32_t n) {
    const std::int64_t i = truncToInt32(static_cast<double>(x));
    return static_cast<std::int32_t>(((i % n) + n) % n);
}

std::int32_t wrapped(std::int64_t i, std::int32_t n) {
    return static_cast<std::int32_t>(((i % n) + n) % n);
}

// The region cut to the picture, as memory rows [rowFirst, rowEnd) and columns [left, right).
struct Area {
    std::int32_t left = 0, right = 0, rowFirst = 0, rowEnd = 0;
};

bool usable(const PixelImage& source, const PixelImage& destination, const Rect& region,
            Area& area) {
    if (source.empty() || source.width != destination.width ||
        source.height != destination.height || source.stride != destination.stride ||
        source.bytes.data() == destination.bytes.data())
        return false;
    const std::int32_t w = source.width;
    const std::int32_t h = source.height;
    area.left = std::clamp(region.left, 0, w);
    area.right = std::clamp(region.right, 0, w);
    area.rowFirst = h - std::clamp(region.bottom, 0, h);
    area.rowEnd = h - std::clamp(region.top, 0, h);
    return area.left < area.right && area.rowFirst < area.rowEnd;
}

void copyPixel(const PixelImage& source, std::int32_t sr, std::int32_t sc, PixelImage& destination,
               std::int32_t r, std::int32_t c) {
    const std::uint8_t* from = source.memoryRow(sr) + 3 * std::size_t(sc);
    std::uint8_t* to = destination.memoryRow(r) + 3 * std::size_t(c);
    for (int k = 0; k < 3; ++k)
        to[k] = from[k];
}

}  // namespace

void referenceShift(const PixelImage& source, PixelImage& destination, const Rect& region,
                    const MoveShift& shift) {
    Area a;
    if (!usable(source, destination, region, a)) return;
    for (std::int32_t r = a.rowFirst; r < a.rowEnd; ++r)
        for (std::int32_t c = a.left; c < a.right; ++c)
            copyPixel(source, wrapped(std::int64_t{r} + shift.sy, source.height),
                      wrapped(std::int64_t{c} + shift.sx, source.width), destination, r, c);
}

void referenceZoomRotate(const PixelImage& source, PixelImage& destination, const Rect& region,
                         DragPoint anchor, const ZoomRotate& zoom) {
    Area a;
    if (!usable(source, destination, region, a)) return;
    const std::int64_t ax = anchor.x;
    const std::int64_t ar = std::int64_t{source.height} - 1 - anchor.y;
    const float cs = zoom.cs;
    const float sn = zoom.sn;
    for (std::int32_t r = a.rowFirst; r < a.rowEnd; ++r) {
        // The row's start values at column 0, then one step per column.
        float u = static_cast<float>(ax) + static_cast<float>(0 - ax) * cs -
                  static_cast<float>(r - ar) * sn;
        float v = static_cast<float>(ar) + static_cast<float>(0 - ax) * sn +
                  static_cast<float>(r - ar) * cs;
        for (std::int32_t c = 0; c < source.width; ++c) {
            if (c >= a.left && c < a.right)
                copyPixel(source, wrapped(v, source.height), wrapped(u, source.width), destination,
                          r, c);
            u += cs;
            v += sn;
        }
    }
}

void referenceSkewFlip(const PixelImage& source, PixelImage& destination, const Rect& region,
                       DragPoint anchor, const SkewFlip& skew) {
    Area a;
    if (!usable(source, destination, region, a)) return;
    const std::int64_t ax = anchor.x;
    const std::int64_t ar = std::int64_t{source.height} - 1 - anchor.y;
    for (std::int32_t r = a.rowFirst; r < a.rowEnd; ++r) {
        for (std::int32_t c = a.left; c < a.right; ++c) {
            const float u = static_cast<float>(c) + static_cast<float>(r - ar) * skew.kx;
            const float v = static_cast<float>(r) + static_cast<float>(ax - c) * skew.ky;
            copyPixel(source, wrapped(v, source.height), wrapped(u, source.width), destination, r,
                      c);
        }
    }
}

}  // namespace lumetra::testing
