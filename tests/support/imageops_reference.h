#pragma once
// The image operations and the drags' pixel loops written plainly, pixel by pixel and byte by byte
// from their descriptions, without tables, tiles, lanes or restructuring. The production code must
// agree with them bit for bit, row padding and pixels outside the region included.

#include <cstdint>

#include "document/canvas_image.h"
#include "image/stretch_halftone.h"
#include "imageops/colour_operations.h"
#include "imageops/composite.h"
#include "imageops/drag_geometry.h"

namespace lumetra::testing {

void referenceColourOperation(CanvasImage& image, ColourOperation operation);

// The region's columns reversed, its rows reversed, its pixels black.
void referenceMirror(CanvasImage& image);
void referenceFlip(CanvasImage& image);
void referenceDelete(CanvasImage& image);

// Every destination pixel on its own: the average of the source pixels, each weighted by its
// overlap, rounded half up. False where the stretch refuses.
bool referenceStretchHalftone(PixelImage& destination, const StretchRect& to,
                              const PixelImage& source, const StretchRect& from,
                              StretchRaster raster = StretchRaster::Copy);

// True where compositeImage succeeds.
bool referenceComposite(CanvasImage& image, const PixelImage& picture,
                        const CompositeOptions& options);

// The drags: the pixels of `region` (cut to the picture) from the snapshot `source`, a distinct
// picture of the same layout.
void referenceShift(const PixelImage& source, PixelImage& destination, const Rect& region,
                    const MoveShift& shift);
void referenceZoomRotate(const PixelImage& source, PixelImage& destination, const Rect& region,
                         DragPoint anchor, const ZoomRotate& zoom);
void referenceSkewFlip(const PixelImage& source, PixelImage& destination, const Rect& region,
                       DragPoint anchor, const SkewFlip& skew);

// Every byte random, the row padding too (so that a stray write shows), the same for the same seed.
PixelImage randomPicture(std::int32_t width, std::int32_t height, std::uint32_t seed);

}  // namespace lumetra::testing
