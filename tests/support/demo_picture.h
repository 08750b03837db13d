#pragma once
// The demo picture that ships as docs/demo.bmp: five seconds of sound at the default settings
// (300 x 150, 50 Hz to 8000 Hz). An A major chord swells and fades, a sweep glides up while it
// moves from the left to the right channel, and a D major chord with a breath of noise closes.
// Integer arithmetic only, so every build makes the same bytes.

#include "image/pixel_image.h"

namespace lumetra::testing {

PixelImage makeDemoPicture();

}  // namespace lumetra::testing
