#pragma once
// Echord as plainly as it can be written: every copy walks the source region pixel by pixel and
// computes each channel's contribution on the spot. The program's version must match it byte
// for byte and draw for draw.

#include "document/canvas_image.h"
#include "render/random_seed.h"
#include "tools/echord.h"

namespace lumetra::testing {

void referenceEchord(const PixelImage& source, CanvasImage& destination,
                     const EchordSettings& settings, RandomSeed& seed);

}  // namespace lumetra::testing
