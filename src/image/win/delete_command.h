#pragma once
// "&Delete" (207, keys Del and Backspace) on the canvas: an undo snapshot, then the operation
// region goes black.

namespace lumetra::win {

class CanvasWindow;

void deleteCommand(CanvasWindow& canvas);

}  // namespace lumetra::win
