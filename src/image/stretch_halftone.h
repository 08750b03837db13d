#pragma once
// Stretching one picture's rectangle onto another's with area averaging: every destination pixel
// gets the average of the source pixels under it, each weighted by how much of it lies under the
// destination pixel. This is the program's halftone stretch; the platform's own halftone mode
// does not average under every system the program runs on, so the pixels never go through it.
//
// Rectangles are in picture coordinates (y = 0 is the top row). An extent may be negative: the
// rectangle then runs from its origin pixel backwards, so (x = w - 1, width = -w) covers the
// columns w - 1 down to 0 and mirrors the picture. A source and destination of the same size
// give an exact copy. Destination pixels outside the destination picture are clipped; source
// pixels outside the source picture contribute nothing: a destination pixel under which only
// such pixels lie is left as it was, one partly over the source picture averages what is there.

#include <cstdint>

#include "image/pixel_image.h"

namespace lumetra {

struct StretchRect {
    std::int32_t x = 0, y = 0;
    std::int32_t width = 0, height = 0;  // negative: mirrored, running back from (x, y)
};

enum class StretchRaster {
    Copy,  // the destination takes the average
    Or,    // the destination becomes itself OR the average, byte by byte
};

// False, with nothing drawn, for a zero extent, an empty or malformed picture, or rectangles so
// large that the weights would not fit the arithmetic. The row padding is never touched. The
// destination may be the source itself.
bool stretchHalftone(PixelImage& destination, const StretchRect& to, const PixelImage& source,
                     const StretchRect& from, StretchRaster raster = StretchRaster::Copy);

}  // namespace lumetra
