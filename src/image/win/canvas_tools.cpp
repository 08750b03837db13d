#include "image/win/canvas_tools.h"

namespace lumetra::win {

// The undo store, the brush and the transform tools are not part of the program yet: snapshots
// are granted without being stored and the drags leave the picture as it is.

bool storeUndoSnapshot(ImageDocument&, bool, int) {
    return true;
}
void touchUndoSnapshot(ImageDocument&, int) {}
void paintBrushDab(CanvasWindow&, POINT) {}
void startMove(CanvasWindow&, POINT) {}
void continueMove(CanvasWindow&, POINT) {}
void finishMove(CanvasWindow&, POINT) {}
void startDeformation(CanvasWindow&, DeformKind, POINT) {}
void continueDeformation(CanvasWindow&, POINT) {}

}  // namespace lumetra::win
