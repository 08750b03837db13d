#pragma once
// What Cut, Copy and the pastes do to the picture: the operation region as the block another
// program reads, and a picture from another program stretched onto the operation region.

#include <cstdint>
#include <vector>

#include "document/canvas_image.h"
#include "image/pixel_image.h"

namespace lumetra {

// The operation region (the selection, or the whole picture) as a packed 24-bit DIB block, 1:1;
// empty when the picture holds nothing there or the memory cannot be had.
std::vector<std::uint8_t> operationRegionBlock(const CanvasImage& image);

enum class PasteKind {
    Replace,  // Paste: the region takes the picture
    Overlay,  // Paste As Overlay: every byte of the region becomes itself OR the picture's
};

// Stretches the whole of `picture` onto the operation region with the halftone stretch. False,
// with nothing changed, for a picture that cannot be used or a stretch beyond the arithmetic.
bool pastePicture(CanvasImage& image, const PixelImage& picture, PasteKind kind);

}  // namespace lumetra
