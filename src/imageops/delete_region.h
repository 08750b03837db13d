#pragma once
// Delete (207): the operation region goes black, which silences it in the sound.

#include "document/canvas_image.h"

namespace lumetra {

// Sets every byte of the selection's pixels to 0, or of the whole picture when nothing is
// selected. A selection reaching beyond the picture is cut to it; the row padding is left alone.
void deleteRegion(CanvasImage& image);

}  // namespace lumetra
