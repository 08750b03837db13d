#pragma once
// The pixel loops of the move and deformation drags. Each rewrites the part of `destination`
// inside `region` (cut to the picture) from `source`, the snapshot taken at button-down, which
// must be a different picture of the same size; otherwise nothing is written. Sampling wraps
// around the whole picture, whatever the region. Rows are memory rows (0 = bottom), columns
// count from the left; the anchor's memory row is ar = H - 1 - ay. The turning loops share their
// rows among the threads of `workers` when given (null: the calling thread alone); the result is
// the same.

#include <cstdint>

#include "image/pixel_image.h"
#include "image/rect.h"
#include "imageops/drag_geometry.h"
#include "render/render_workers.h"

namespace lumetra {

// Destination pixel (r, c) <- source pixel ((r + sy) mod H, (c + sx) mod W).
void shiftPixels(const PixelImage& source, PixelImage& destination, const Rect& region,
                 const MoveShift& shift);

// Destination pixel (r, c) <- source pixel (trunc(v) mod H, trunc(u) mod W), with u and v
// evaluated in single precision as the row's start values at column 0,
//   u = ax + (0 - ax) * cs - (r - ar) * sn,   v = ar + (0 - ax) * sn + (r - ar) * cs,
// then u += cs and v += sn from each column to the next.
void zoomRotatePixels(const PixelImage& source, PixelImage& destination, const Rect& region,
                      DragPoint anchor, const ZoomRotate& zoom, RenderWorkers* workers);

// Destination pixel (r, c) <- source pixel (trunc(r + (ax - c) * ky) mod H,
// trunc(c + (r - ar) * kx) mod W), in single precision.
void skewFlipPixels(const PixelImage& source, PixelImage& destination, const Rect& region,
                    DragPoint anchor, const SkewFlip& skew, RenderWorkers* workers);

}  // namespace lumetra
