#pragma once
// What the canvas asks of the painting and transform tools and the undo store during a
// left-button drag. The tools come with their own windows; until then these calls change nothing.
// The two undo calls are carried out by the undo ring (undo_ring.cpp).

#include <windows.h>

#include "document/canvas_image.h"

namespace lumetra::win {

class CanvasWindow;

enum class DeformKind { ZoomRotate = 324, SkewFlip = 326 };

bool storeUndoSnapshot(ImageDocument& document, bool askOnFailure, int operation);
void touchUndoSnapshot(ImageDocument& document, int operation);

void paintBrushDab(CanvasWindow& canvas, POINT p);
void startMove(CanvasWindow& canvas, POINT p);
void continueMove(CanvasWindow& canvas, POINT p);
void finishMove(CanvasWindow& canvas, POINT p);
void startDeformation(CanvasWindow& canvas, DeformKind kind, POINT p);
void continueDeformation(CanvasWindow& canvas, POINT p);

}  // namespace lumetra::win
