#include "image/win/canvas_tools.h"

namespace lumetra::win {

// The brush and the transform tools are not part of the program yet: the drags leave the picture
// as it is. The undo snapshots are taken by the undo ring (undo_ring.cpp).

void paintBrushDab(CanvasWindow&, POINT) {}
void startMove(CanvasWindow&, POINT) {}
void continueMove(CanvasWindow&, POINT) {}
void finishMove(CanvasWindow&, POINT) {}
void startDeformation(CanvasWindow&, DeformKind, POINT) {}
void continueDeformation(CanvasWindow&, POINT) {}

}  // namespace lumetra::win
