#pragma once
// The Brush Tools dialog's rules that are not window wiring: the dab size from a drag in the
// preview, the fade that follows a thin size, the boiler readout and the preview's dab.

#include <cstdint>
#include <optional>
#include <string>

#include "image/pixel_image.h"
#include "render/random_seed.h"
#include "tools/brush.h"

namespace lumetra {

// The preview area inside its frame: the centre and the inner size, which bound the drag.
struct PreviewArea {
    std::int32_t centreX = 0, centreY = 0;
    std::int32_t innerWidth = 1, innerHeight = 1;
};

struct BrushSize {
    std::int32_t width = 1, height = 1;
    friend bool operator==(const BrushSize&, const BrushSize&) = default;
};

// Twice the pointer's distance from the centre each way, at least 1 and at most the inner size.
BrushSize sizeFromDrag(const PreviewArea& area, std::int32_t pointerX, std::int32_t pointerY);

// At the end of a size drag a brush much wider than high fades Right rather than Down, and one
// much higher than wide Down rather than Right; Noise and every other case stay.
ColorFade fadeAfterSizeDrag(std::int32_t width, std::int32_t height, ColorFade fade);

// " Heat: %3d     Blr:%4d%%\n Cycle:%3d     Sh:%4d%%" with the shift shown as a percentage.
std::string boilerReadout(const BrushSettings& settings);

enum class PreviewKind {
    Line,       // width or height below 2: a line across the dab's rectangle
    Ellipse,    // Spray and Round: the dab as it lands on black, outlined by an ellipse
    Rectangle,  // Rect: the brush bitmap, outlined by a rectangle
};
PreviewKind previewKind(const BrushSettings& settings);

// The dab as it would land on black (Add's brush counted twice): each channel mixed over 0 by its
// mask value, pixels in the order of a dab (Spray draws from `seed`). In the picture layout, the
// brush's size; nullopt when the picture cannot be had.
std::optional<PixelImage> previewDab(const Brush& brush, RandomSeed& seed);

}  // namespace lumetra
