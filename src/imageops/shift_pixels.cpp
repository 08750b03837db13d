// Move: every row is the source row sy above it, rotated left by sx, copied in at most two
// pieces.

#include <algorithm>
#include <cstring>

#include "imageops/drag_frame.h"
#include "imageops/drag_pixels.h"

namespace lumetra {
namespace {

std::int32_t floorMod(std::int32_t a, std::int32_t n) {
    const std::int32_t m = a % n;
    return m < 0 ? m + n : m;
}

void copyColumns(const DragFrame& f, std::int32_t row, std::int32_t column, std::int32_t sourceRow,
                 std::int32_t sourceColumn, std::int32_t count) {
    if (count <= 0) return;
    std::memcpy(f.destinationRow(row) + 3 * static_cast<std::size_t>(column),
                f.sourcePixel(sourceRow, sourceColumn), 3 * static_cast<std::size_t>(count));
}

}  // namespace

void shiftPixels(const PixelImage& source, PixelImage& destination, const Rect& region,
                 const MoveShift& shift) {
    const auto frame = dragFrame(source, destination, region);
    if (!frame) return;
    const DragFrame& f = *frame;
    const std::int32_t sx = floorMod(shift.sx, f.width);
    const std::int32_t sy = floorMod(shift.sy, f.height);
    // Columns left of the seam read from sx on; the rest wrap round to the source's left edge.
    const std::int32_t seam = std::clamp(f.width - sx, f.left, f.right);
    for (std::int32_t r = f.rowFirst; r < f.rowEnd; ++r) {
        const std::int32_t from = r < f.height - sy ? r + sy : r + sy - f.height;
        copyColumns(f, r, f.left, from, f.left + sx, seam - f.left);
        copyColumns(f, r, seam, from, seam + sx - f.width, f.right - seam);
    }
}

}  // namespace lumetra
