#pragma once
// The image operations written plainly, pixel by pixel and byte by byte from their descriptions,
// without tables, vectors or restructuring. The production operations must agree with them bit
// for bit.

#include <cstdint>

#include "document/canvas_image.h"
#include "image/stretch_halftone.h"
#include "imageops/colour_operations.h"
#include "imageops/composite.h"

namespace lumetra::testing {

void referenceColourOperation(CanvasImage& image, ColourOperation operation);

// Every destination pixel on its own: the overlap of each source pixel with it, summed over the
// whole rectangles, and the average rounded half up. Returns false where the stretch refuses.
bool referenceStretchHalftone(PixelImage& destination, const StretchRect& to,
                              const PixelImage& source, const StretchRect& from,
                              StretchRaster raster = StretchRaster::Copy);

// True where compositeImage succeeds; the region changed as it describes.
bool referenceComposite(CanvasImage& image, const PixelImage& picture,
                        const CompositeOptions& options);

// A picture of random bytes (the same for the same seed) whose row padding is kPaddingMark, so
// that a write into the padding shows.
inline constexpr std::uint8_t kPaddingMark = 0xEE;
PixelImage randomPicture(std::int32_t width, std::int32_t height, std::uint32_t seed);

}  // namespace lumetra::testing
