#pragma once
// The numbers a move or deformation drag derives from its anchor and pointer: the wrapped shift
// of a move, the scale and rotation of a zoom-rotate, the shear factors of a skew-flip. Points are
// picture coordinates (y = 0 at the top); the pointer may lie anywhere, the mouse is captured.

#include <cstdint>

#include "base/screen_size.h"

namespace lumetra {

struct DragPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const DragPoint&, const DragPoint&) = default;
};

// The angle unit (pixels of sideways drag per radian) and the shear/scale unit of the
// deformations: screen width div 9 and screen height div 20, never below 1 so that a tiny or
// unknown screen cannot divide by zero.
struct DragUnits {
    float angle = 1.0f;
    float shear = 1.0f;
};
DragUnits dragUnits(ScreenSize screen);

// Move: dxr = (ax - px) rem W and dyr = (py - ay) rem H (sign of the dividend), and the source
// offsets sx = dxr mod W, sy = dyr mod H in [0, W) and [0, H).
struct MoveShift {
    std::int32_t dxr = 0;
    std::int32_t dyr = 0;
    std::int32_t sx = 0;
    std::int32_t sy = 0;
};
// Width and height must be at least 1.
MoveShift moveShiftFor(DragPoint anchor, DragPoint pointer, std::int32_t width,
                       std::int32_t height);

// Zoom-rotate: dragging up magnifies (scale < 1), down shrinks, sideways turns. cs and sn are
// cos(angle) * scale and sin(angle) * scale, all in single precision; every value is finite.
struct ZoomRotate {
    float scale = 1.0f;
    float angle = 0.0f;
    float cs = 1.0f;
    float sn = 0.0f;
};
ZoomRotate zoomRotateFor(DragPoint anchor, DragPoint pointer, DragUnits units);

// Skew-flip: kx = (ax - px) / angle unit, ky = (ay - py) / shear unit.
struct SkewFlip {
    float kx = 0.0f;
    float ky = 0.0f;
};
SkewFlip skewFlipFor(DragPoint anchor, DragPoint pointer, DragUnits units);

}  // namespace lumetra
