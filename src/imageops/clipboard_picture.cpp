#include "imageops/clipboard_picture.h"

#include "image/bmp_writer.h"
#include "image/stretch_halftone.h"
#include "imageops/picture_region.h"

namespace lumetra {

std::vector<std::uint8_t> operationRegionBlock(const CanvasImage& image) {
    return encodeDib(image.pixels, clippedOperationRegion(image));
}

bool pastePicture(CanvasImage& image, const PixelImage& picture, PasteKind kind) {
    if (!wellFormed(picture)) return false;
    const Rect region = clippedOperationRegion(image);
    if (region.empty()) return false;
    return stretchHalftone(image.pixels, {region.left, region.top, region.width(), region.height()},
                           picture, {0, 0, picture.width, picture.height},
                           kind == PasteKind::Overlay ? StretchRaster::Or : StretchRaster::Copy);
}

}  // namespace lumetra
