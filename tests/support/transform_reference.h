#pragma once
// The pixel loops of the move and deformation drags written plainly: one destination pixel at a
// time, every index from its formula, in picture memory order. The production loops must agree
// with them bit for bit, padding and untouched pixels included.

#include "image/pixel_image.h"
#include "image/rect.h"
#include "imageops/drag_geometry.h"

namespace lumetra::testing {

void referenceShift(const PixelImage& source, PixelImage& destination, const Rect& region,
                    const MoveShift& shift);
void referenceZoomRotate(const PixelImage& source, PixelImage& destination, const Rect& region,
                         DragPoint anchor, const ZoomRotate& zoom);
void referenceSkewFlip(const PixelImage& source, PixelImage& destination, const Rect& region,
                       DragPoint anchor, const SkewFlip& skew);

}  // namespace lumetra::testing
