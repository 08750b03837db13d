#pragma once
// The commands of the Colors and Image menus and Delete, which take nothing but the picture: what
// each does before (the undo snapshot, the wait cursor) and after (the view) and the operation
// itself, in one table for the window's commands and the batch editor alike.

#include <cstdint>
#include <span>

#include "document/canvas_image.h"

namespace lumetra {

// How the canvas follows the change.
enum class PictureRefresh {
    Repaint,  // repainted without erasing the background
    Layout,   // the view refresh that recomputes the scroll bars and keeps the new selection
};

struct PictureCommandResult {
    bool done = true;          // false: it could not be done and nothing changed
    bool sizeChanged = false;  // the window passes the new width and height to the render settings
};

struct PictureCommand {
    int command;                 // the menu command id
    bool askOnFailure;           // the undo snapshot asks whether to go on when it fails
    std::int32_t undoOperation;  // the snapshot's operation id (repeats within a second merge)
    bool waitCursor;             // the system's wait cursor while it works
    PictureRefresh refresh;
    PictureCommandResult (*apply)(CanvasImage& image);
};

// Commands 223 to 228, 241 to 246 and 207.
std::span<const PictureCommand> pictureCommands();

// The row of a command id; null for any other id.
const PictureCommand* findPictureCommand(int command);

}  // namespace lumetra
