#include "imageops/drag_geometry.h"

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

// Differences of two coordinates in 64 bits: a captured pointer far off the screen must not
// overflow.
std::int64_t difference(std::int32_t a, std::int32_t b) {
    return std::int64_t{a} - std::int64_t{b};
}

std::int32_t floorMod(std::int32_t remainder, std::int32_t n) {
    return remainder < 0 ? remainder + n : remainder;
}

}  // namespace

DragUnits dragUnits(ScreenSize screen) {
    return DragUnits{static_cast<float>(std::max(screen.width / 9, 1)),
                     static_cast<float>(std::max(screen.height / 20, 1))};
}

MoveShift moveShiftFor(DragPoint anchor, DragPoint pointer, std::int32_t width,
                       std::int32_t height) {
    MoveShift shift;
    shift.dxr = static_cast<std::int32_t>(difference(anchor.x, pointer.x) % width);
    shift.dyr = static_cast<std::int32_t>(difference(pointer.y, anchor.y) % height);
    shift.sx = floorMod(shift.dxr, width);
    shift.sy = floorMod(shift.dyr, height);
    return shift;
}

ZoomRotate zoomRotateFor(DragPoint anchor, DragPoint pointer, DragUnits units) {
    ZoomRotate z;
    const auto dy = static_cast<float>(difference(pointer.y, anchor.y));
    if (dy < 0.0f) {
        // Upward the scale falls from 1 toward 0 ever more slowly, so that a long drag up keeps
        // magnifying without reaching a zero scale.
        const float k = 1.0f / (dy * dy * 0.0005f);
        z.scale = k / (k - dy / units.shear);
    } else {
        z.scale = dy / units.shear * 0.7f + 1.0f;
    }
    z.angle = static_cast<float>(difference(pointer.x, anchor.x)) / units.angle;
    // Cosine and sine in double precision, rounded once to single: C libraries agree on these far
    // more often than on their single-precision functions.
    z.cs = static_cast<float>(std::cos(static_cast<double>(z.angle))) * z.scale;
    z.sn = static_cast<float>(std::sin(static_cast<double>(z.angle))) * z.scale;
    return z;
}

SkewFlip skewFlipFor(DragPoint anchor, DragPoint pointer, DragUnits units) {
    return SkewFlip{static_cast<float>(difference(anchor.x, pointer.x)) / units.angle,
                    static_cast<float>(difference(anchor.y, pointer.y)) / units.shear};
}

}  // namespace lumetra
