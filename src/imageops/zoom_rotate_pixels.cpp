// Zoom-rotate: each row walks the snapshot along a straight line, one float addition per column.
// The additions are the arithmetic itself (their rounding is part of the result), so every row
// keeps its own running position: the lanes take four rows side by side and repeat exactly the
// additions each row would make alone, and the walk may stop at a tile's edge and go on later.

#include <algorithm>
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

    // The sampling position in memory row r at the area's left edge: the start values at
    // column 0 and one step for every column before the area.
    void start(std::int32_t r, float& u, float& v) const {
        const auto dr = static_cast<float>(std::int64_t{r} - ar);
        u = ax + axFromZero * cs - dr * sn;
        v = static_cast<float>(ar) + axFromZero * sn + dr * cs;
        for (std::int32_t c = 0; c < f.left; ++c) {
            u += cs;
            v += sn;
        }
    }

    // Columns [begin, end) of memory row r from the position (u, v) of column `begin`.
    void row(std::int32_t r, std::int32_t begin, std::int32_t end, float& u, float& v) const {
        std::uint8_t* to = f.destinationRow(r);
        for (std::int32_t c = begin; c < end; ++c) {
            f.copy(to + 3 * static_cast<std::size_t>(c), wrapIndex(v, f.height),
                   wrapIndex(u, f.width), c + 1 < f.right);
            u += cs;
            v += sn;
        }
    }

#if defined(LUMETRA_DRAG_LANES)
    // Memory rows r .. r + 3 together, lane l holding row r + l and its position in us[l], vs[l].
    void fourRows(std::int32_t r, std::int32_t begin, std::int32_t end, float* us, float* vs,
                  const LaneGrid& grid) const {
        __m128 u = _mm_loadu_ps(us);
        __m128 v = _mm_loadu_ps(vs);
        const __m128 du = _mm_set1_ps(cs);
        const __m128 dv = _mm_set1_ps(sn);
        std::uint8_t* to[4];
        for (int l = 0; l < 4; ++l)
            to[l] = f.destinationRow(r + l);
        LaneOffsets at;
        for (std::int32_t c = begin; c < end; ++c) {
            wrapFour(u, v, grid, at);
            const std::size_t x = 3 * static_cast<std::size_t>(c);
            const bool spill = c + 1 < f.right;
            for (int l = 0; l < 4; ++l)
                f.copyFrom(to[l] + x, at.bytes[l], spill);
            u = _mm_add_ps(u, du);
            v = _mm_add_ps(v, dv);
        }
        _mm_storeu_ps(us, u);
        _mm_storeu_ps(vs, v);
    }
#endif
};

// The rows of one band of tiles with their running positions.
struct Band {
    std::int32_t first = 0;
    std::int32_t end = 0;
    float u[kTileRows];
    float v[kTileRows];
};

void zoomBand(const ZoomWalk& walk, Band& band, std::int32_t begin, std::int32_t end, bool lanes) {
    std::int32_t r = band.first;
#if defined(LUMETRA_DRAG_LANES)
    if (lanes) {
        const LaneGrid grid(walk.f.width, walk.f.height, walk.f.stride);
        for (; r + 4 <= band.end; r += 4)
            walk.fourRows(r, begin, end, &band.u[r - band.first], &band.v[r - band.first], grid);
    }
#else
    (void)lanes;
#endif
    for (; r < band.end; ++r)
        walk.row(r, begin, end, band.u[r - band.first], band.v[r - band.first]);
}

}  // namespace

void zoomRotatePixels(const PixelImage& source, PixelImage& destination, const Rect& region,
                      DragPoint anchor, const ZoomRotate& zoom, RenderWorkers* workers) {
    const auto frame = dragFrame(source, destination, region);
    if (!frame) return;
    const bool lanes = lanesFit(frame->width, frame->height, frame->stride);
    forEachRowPart(*frame, workers, [&](const DragFrame& f) {
        const ZoomWalk walk{f,
                            static_cast<float>(anchor.x),
                            static_cast<float>(-std::int64_t{anchor.x}),
                            std::int64_t{f.height} - 1 - anchor.y,
                            zoom.cs,
                            zoom.sn};
        Band band;
        forEachTile(f, [&](std::int32_t rowBegin, std::int32_t rowEnd, std::int32_t begin,
                           std::int32_t end) {
            if (begin == f.left) {
                band.first = rowBegin;
                band.end = rowEnd;
                for (std::int32_t r = rowBegin; r < rowEnd; ++r)
                    walk.start(r, band.u[r - rowBegin], band.v[r - rowBegin]);
            }
            zoomBand(walk, band, begin, end, lanes);
        });
    });
}

}  // namespace lumetra
