#include "image/win/delete_command.h"

#include <windows.h>

#include "image/win/canvas_tools.h"
#include "image/win/canvas_window.h"
#include "imageops/delete_region.h"

namespace lumetra::win {

void deleteCommand(CanvasWindow& canvas) {
    ImageDocument& document = canvas.document();
    // A refused snapshot leaves the picture as it is.
    if (!storeUndoSnapshot(document, false, 0)) return;
    deleteRegion(document.current);
    InvalidateRect(canvas.window(), nullptr, FALSE);
}

}  // namespace lumetra::win
