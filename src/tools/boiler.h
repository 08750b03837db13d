#pragma once
// The colour boiler: blurs and drifts colours sideways, turns them around the 0..255 circle (heat)
// and lets the channels feed each other (cycle), weighted per channel by the brush colours. In dab
// mode it boils one brush dab under the brush bitmap and mask; in selection mode a whole region
// under the two colours faded across it.

#include <cstdint>
#include <string>
#include <vector>

#include "document/canvas_image.h"
#include "image/pixel_image.h"
#include "image/rect.h"
#include "tools/brush.h"

namespace lumetra {

// A snapshot of the rectangle being boiled with a one-pixel border, so that every pixel is
// computed from unchanged neighbours. Kept between runs and remade only when the rectangle's size
// changes, so that a stroke of Boil dabs allocates nothing.
struct BoilerScratch {
    std::int32_t width = 0;  // the rectangle size it was made for (before any clipping)
    std::int32_t height = 0;
    std::vector<std::uint8_t> bytes;  // (width + 2) x (height + 2) pixels, rows top-down
    // The most bytes the scratch may take; more is refused as if memory had run out. Tests lower
    // it to see that path.
    std::int64_t byteLimit = kMaxPixelBytes;

    std::size_t stride() const { return 3 * (std::size_t(width) + 2); }
};

inline constexpr const char* kBoilerBitmapFailure = "Could not create boiler bitmap";

// Makes the scratch fit a w x h rectangle: a new zero-filled buffer when the size differs. False
// with kBoilerBitmapFailure in `message` when it cannot be had; the scratch is then as it was.
bool ensureBoilerScratch(BoilerScratch& scratch, std::int32_t w, std::int32_t h,
                         std::string& message);

enum class BoilerMode { Dab, Selection };

// Boils `area` of the picture. Dab mode: `area` is the brush's dab (its size the brush's size);
// whatever part lies outside the picture is skipped, and the border beyond the picture's edge
// repeats the edge pixels. Selection mode: the heat, cycle and blur weights come from the two
// colours and the fade across `area`, and a black pixel in a black neighbourhood stays black.
// False only when the scratch cannot be had (the picture is then unchanged).
bool runBoiler(CanvasImage& image, const Brush& brush, BoilerScratch& scratch, const Rect& area,
               BoilerMode mode, std::string& message);

}  // namespace lumetra
