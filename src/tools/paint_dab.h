#pragma once
// One brush dab on the picture, and the brush's two commands: Apply Brush to Image (one dab that
// covers the operation region exactly) and Apply Color Boiler (the boiler over that region).

#include <cstdint>
#include <string>

#include "document/canvas_image.h"
#include "image/rect.h"
#include "render/random_seed.h"
#include "tools/boiler.h"
#include "tools/brush.h"

namespace lumetra {

// Everything the brush keeps between dabs.
struct BrushTool {
    Brush brush;
    BoilerScratch boiler;
};

// The picture rectangle a dab centred on (x, y) covers, for the caller to redraw; it may hang
// over the picture's edges.
Rect dabRect(const BrushSettings& settings, std::int32_t x, std::int32_t y);

// Paints one dab centred on picture point (x, y). Fresh noise is filled first while the fade is
// Noise. Cover, Add and Filter mix every dab pixel inside the picture, bottom row first, left to
// right, channels blue, green, red (Spray makes one draw from `seed` per channel whose mask value
// is not 0); where the new green and red are both exactly 0 the new blue is 0 too. Boil hands the
// dab to the boiler. False only when Boil cannot get its scratch (picture, brush and seed are then
// as they were), with the program's text in `message`.
bool paintDab(BrushTool& tool, CanvasImage& image, RandomSeed& seed, std::int32_t x, std::int32_t y,
              std::string& message);

// Apply Brush to Image: the brush at the operation region's size, Boil painted as Cover, one dab
// over the region; then the brush gets its own size and mix back (and fresh colours). False with
// the program's text when the brush for the region cannot be had; then nothing has changed.
bool applyBrushToImage(BrushTool& tool, CanvasImage& image, RandomSeed& seed, std::string& message);

// Apply Color Boiler: the boiler in selection mode over the operation region. False with the
// program's text when its scratch cannot be had; then nothing has changed.
bool applyColorBoiler(BrushTool& tool, CanvasImage& image, std::string& message);

}  // namespace lumetra
