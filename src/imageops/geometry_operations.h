#pragma once
// The Image menu and Delete: operations that move pixels rather than change them. Mirror reverses
// time in the sound, Flip the pitch order; Double and Half repeat the picture in time or pitch.

#include "document/canvas_image.h"

namespace lumetra {

// Mirror (241): the columns of the operation region in reverse order. Flip (242): its rows in
// reverse order. The rest of the picture and the row padding stay as they are.
void mirrorRegion(CanvasImage& image);
void flipRegion(CanvasImage& image);

enum class Duplication {
    DoubleHorizontally,  // 243: twice as wide, the picture side by side twice
    DoubleVertically,    // 244: twice as high, the picture twice one above the other
    HalfHorizontally,    // 245: the picture at half width (rounded up), twice, in the same bounds
    HalfVertically,      // 246: the picture at half height (rounded up), twice, in the same bounds
};

struct DuplicationResult {
    bool done = false;  // false: the larger picture could not be made and nothing changed
    // The picture and its settings' width and height have a new size: the window passes them to
    // the render settings. Either way it recomputes its scroll bars and keeps the new selection.
    bool sizeChanged = false;
};

// Draws the two copies with the halftone stretch and selects the second one (after Double the
// right-hand or lower copy; after Half nothing, as that selection is empty). A dimension that is
// odd and not being doubled or halved is stretched by one pixel, which falls outside the picture.
//
// The copies are made from the picture as it is now, not from the window's undo snapshot: the two
// are the same after a snapshot, but when the snapshot could not be taken and the user chose to
// go on, the snapshot still holds an older picture.
DuplicationResult duplicatePicture(CanvasImage& image, Duplication kind);

}  // namespace lumetra
