// Skew-flip: the column sampled depends on the column and a per-row term, the row sampled on the
// row and a per-column term. Both terms are the same products the per-pixel formula forms, made
// once (per row, per column), so the lanes can take four columns of a row at a time.

#include <cstdint>
#include <vector>

#include "imageops/drag_frame.h"
#include "imageops/drag_lanes.h"
#include "imageops/drag_pixels.h"

namespace lumetra {
namespace {

// A fold reads the snapshot along lines steep in the destination: each snapshot line serves a
// run of destination rows a few columns apart. Tall narrow tiles keep those lines at hand; with
// the 16 x 256 tiles of the other loops the folded drag took half as long again.
constexpr std::int32_t kSkewTileRows = 256;
constexpr std::int32_t kSkewTileColumns = 16;

struct SkewTerms {
    std::vector<float> column;  // c, as a float
    std::vector<float> shear;   // (ax - c) * ky
};

// The per-column terms of columns [left, right), indexed from left.
SkewTerms columnTerms(const DragFrame& f, DragPoint anchor, float ky) {
    SkewTerms t;
    const std::size_t count = static_cast<std::size_t>(f.right - f.left);
    t.column.resize(count);
    t.shear.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t c = f.left + static_cast<std::int64_t>(i);
        t.column[i] = static_cast<float>(c);
        t.shear[i] = static_cast<float>(anchor.x - c) * ky;
    }
    return t;
}

// Columns [begin, end) of memory row r, one at a time.
void skewColumns(const DragFrame& f, const SkewTerms& t, std::int32_t r, float rowShear,
                 std::int32_t begin, std::int32_t end) {
    std::uint8_t* to = f.destinationRow(r);
    const auto row = static_cast<float>(r);
    for (std::int32_t c = begin; c < end; ++c) {
        const std::size_t i = static_cast<std::size_t>(c - f.left);
        f.copy(to + 3 * static_cast<std::size_t>(c), wrapIndex(row + t.shear[i], f.height),
               wrapIndex(t.column[i] + rowShear, f.width), c + 1 < f.right);
    }
}

#if defined(LUMETRA_DRAG_LANES)
// Columns [begin, end) of memory row r four at a time; returns the first column left over.
std::int32_t skewLanes(const DragFrame& f, const SkewTerms& t, std::int32_t r, float rowShear,
                       std::int32_t begin, std::int32_t end, const LaneGrid& grid) {
    std::uint8_t* to = f.destinationRow(r);
    const __m128 du = _mm_set1_ps(rowShear);
    const __m128 row = _mm_set1_ps(static_cast<float>(r));
    LaneOffsets at;
    std::int32_t c = begin;
    for (; c + 4 <= end; c += 4) {
        const std::size_t i = static_cast<std::size_t>(c - f.left);
        const __m128 u = _mm_add_ps(_mm_loadu_ps(&t.column[i]), du);
        const __m128 v = _mm_add_ps(row, _mm_loadu_ps(&t.shear[i]));
        wrapFour(u, v, grid, at);
        for (int l = 0; l < 4; ++l)
            f.copyFrom(to + 3 * static_cast<std::size_t>(c + l), at.bytes[l], c + l + 1 < f.right);
    }
    return c;
}
#endif

}  // namespace

void skewFlipPixels(const PixelImage& source, PixelImage& destination, const Rect& region,
                    DragPoint anchor, const SkewFlip& skew, RenderWorkers* workers) {
    const auto frame = dragFrame(source, destination, region);
    if (!frame) return;
    const SkewTerms terms = columnTerms(*frame, anchor, skew.ky);
    const std::int64_t ar = std::int64_t{frame->height} - 1 - anchor.y;
#if defined(LUMETRA_DRAG_LANES)
    const bool lanes = lanesFit(frame->width, frame->height, frame->stride);
    const LaneGrid grid(frame->width, frame->height, frame->stride);
#endif
    forEachRowPart(*frame, workers, [&](const DragFrame& f) {
        forEachTile(
            f,
            [&](std::int32_t rowBegin, std::int32_t rowEnd, std::int32_t begin, std::int32_t end) {
                for (std::int32_t r = rowBegin; r < rowEnd; ++r) {
                    const float rowShear = static_cast<float>(r - ar) * skew.kx;
                    std::int32_t c = begin;
#if defined(LUMETRA_DRAG_LANES)
                    if (lanes) c = skewLanes(f, terms, r, rowShear, begin, end, grid);
#endif
                    skewColumns(f, terms, r, rowShear, c, end);
                }
            },
            kSkewTileRows, kSkewTileColumns);
    });
}

}  // namespace lumetra
