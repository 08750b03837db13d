#pragma once
// The colour boiler written plainly: neighbours read from a copy of the whole picture with their
// coordinates clamped into it, weights and mask worked out per pixel. The production boiler must
// agree with it bit for bit.

#include "brush_reference.h"
#include "document/canvas_image.h"
#include "image/rect.h"

namespace lumetra::testing {

// Dab mode when `dabMode`, selection mode otherwise; `area` may hang over the picture's edges.
void referenceRunBoiler(CanvasImage& image, const ReferenceBrush& brush, const Rect& area,
                        bool dabMode);

}  // namespace lumetra::testing
