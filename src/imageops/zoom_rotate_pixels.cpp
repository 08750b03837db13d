// Zoom-rotate: each row walks the snapshot along a straight line, one float addition per column.
// The additions are the arithmetic itself (their rounding is part of the result), so the lanes
// take four rows side by side and repeat exactly the additions each row would make alone.

#include <cstdint>

#include "imageops/drag_frame.h"
#include "imageops/drag_lanes.h"
#include "imageops/drag_pixels.h"

namespace lumetra {
namespace {

struct ZoomWalk {
    const DragFrame& f;
    float ax;          // anchor column
    float axFromZero;  // 0 - ax: the column distance at column 0
    std::int64_t ar;   // anchor memory row
    float cs;
    float sn;

    // The sampling position of column 0 in memory row r.
    void start(std::int32_t r, float& u, float& v) const {
        const auto dr = static_cast<float>(std::int64_t{r} - ar);
        u = ax + axFromZero * cs - dr * sn;
        v = static_cast<float>(ar) + axFromZero * sn + dr * cs;
    }

    void row(std::int32_t r) const {
        float u, v;
        start(r, u, v);
        for (std::int32_t c = 0; c < f.left; ++c) {
            u += cs;
            v += sn;
        }
        std::uint8_t* to = f.destinationRow(r);
        for (std::int32_t c = f.left; c < f.right; ++c) {
            f.copy(to + 3 * static_cast<std::size_t>(c), wrapIndex(v, f.height),
                   wrapIndex(u, f.width), c + 1 < f.right);
            u += cs;
            v += sn;
        }
    }

#if defined(LUMETRA_DRAG_LANES)
    // Memory rows r .. r + 3 together, lane l holding row r + l.
    void fourRows(std::int32_t r, const LaneDivisor& columns, const LaneDivisor& rows) const {
        alignas(16) float us[4], vs[4];
        for (int l = 0; l < 4; ++l)
            start(r + l, us[l], vs[l]);
        __m128 u = _mm_load_ps(us);
        __m128 v = _mm_load_ps(vs);
        const __m128 du = _mm_set1_ps(cs);
        const __m128 dv = _mm_set1_ps(sn);
        for (std::int32_t c = 0; c < f.left; ++c) {
            u = _mm_add_ps(u, du);
            v = _mm_add_ps(v, dv);
        }
        std::uint8_t* to[4];
        for (int l = 0; l < 4; ++l)
            to[l] = f.destinationRow(r + l);
        LaneIndices at;
        for (std::int32_t c = f.left; c < f.right; ++c) {
            wrapFour(u, v, columns, rows, f.width, f.height, at);
            const std::size_t x = 3 * static_cast<std::size_t>(c);
            const bool spill = c + 1 < f.right;
            for (int l = 0; l < 4; ++l)
                f.copy(to[l] + x, at.rows[l], at.columns[l], spill);
            u = _mm_add_ps(u, du);
            v = _mm_add_ps(v, dv);
        }
    }
#endif
};

}  // namespace

void zoomRotatePixels(const PixelImage& source, PixelImage& destination, const Rect& region,
                      DragPoint anchor, const ZoomRotate& zoom) {
    const auto frame = dragFrame(source, destination, region);
    if (!frame) return;
    const DragFrame& f = *frame;
    const ZoomWalk walk{f,
                        static_cast<float>(anchor.x),
                        static_cast<float>(-std::int64_t{anchor.x}),
                        std::int64_t{f.height} - 1 - anchor.y,
                        zoom.cs,
                        zoom.sn};
    std::int32_t r = f.rowFirst;
#if defined(LUMETRA_DRAG_LANES)
    if (lanesFit(f.width, f.height)) {
        const LaneDivisor columns(f.width);
        const LaneDivisor rows(f.height);
        for (; r + 4 <= f.rowEnd; r += 4)
            walk.fourRows(r, columns, rows);
    }
#endif
    for (; r < f.rowEnd; ++r)
        walk.row(r);
}

}  // namespace lumetra
