#include "imageops/transform_drag.h"

#include "imageops/drag_pixels.h"
#include "imageops/drag_status.h"

namespace lumetra {

DragStatus moveDrag(const DragPictures& pictures, DragPoint anchor, DragPoint pointer,
                    const RenderSettings& settings) {
    const PixelImage& picture = pictures.picture;
    if (picture.empty()) return DragStatus{kMoveStatusPart, {}};
    const MoveShift shift = moveShiftFor(anchor, pointer, picture.width, picture.height);
    shiftPixels(pictures.snapshot, pictures.picture, pictures.region, shift);
    return DragStatus{kMoveStatusPart,
                      moveStatusText(shift, picture.width, picture.height, settings)};
}

DragStatus deformDrag(DeformKind kind, const DragPictures& pictures, DragPoint anchor,
                      DragPoint pointer, ScreenSize screen) {
    const DragUnits units = dragUnits(screen);
    if (kind == DeformKind::ZoomRotate) {
        const ZoomRotate zoom = zoomRotateFor(anchor, pointer, units);
        zoomRotatePixels(pictures.snapshot, pictures.picture, pictures.region, anchor, zoom,
                         pictures.workers);
        return DragStatus{kDeformStatusPart, zoomRotateStatusText(zoom)};
    }
    skewFlipPixels(pictures.snapshot, pictures.picture, pictures.region, anchor,
                   skewFlipFor(anchor, pointer, units), pictures.workers);
    return DragStatus{kDeformStatusPart, skewFlipStatusText(anchor, pointer)};
}

}  // namespace lumetra
