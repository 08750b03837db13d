#pragma once
// The brush written plainly, one statement per step of its description: every pixel of the dab is
// computed on its own, every channel goes through one general mix, positions are checked pixel by
// pixel. The production brush must agree with it bit for bit: pixels and random seed.

#include <cstdint>
#include <vector>

#include "document/canvas_image.h"
#include "render/random_seed.h"
#include "tools/brush_settings.h"

namespace lumetra::testing {

struct ReferenceBrush {
    BrushSettings settings;
    std::vector<std::uint8_t> pixels;  // blue, green, red; rows from the bottom, no padding
    std::vector<std::uint8_t> mask;    // rows from the bottom; all 0 for Rect
};

ReferenceBrush referenceBuildBrush(const BrushSettings& settings, RandomSeed& seed);
void referencePaintDab(CanvasImage& image, ReferenceBrush& brush, RandomSeed& seed, int x, int y);
void referenceApplyBrush(CanvasImage& image, ReferenceBrush& brush, RandomSeed& seed);

}  // namespace lumetra::testing
