#pragma once
// The program's undo ring: the core's UndoStore over the BMP slot files in the undo folder, the
// system tick counter, and the status bar and a message box for what it has to say. The
// snapshot calls themselves (storeUndoSnapshot, touchUndoSnapshot) are declared in
// canvas_tools.h, where the canvas and the commands find them.

#include <filesystem>

#include "document/undo_store.h"

namespace lumetra::win {

class CanvasWindow;

// The ring of the run over the current undo folder and undo limit. Without a settled undo folder
// (tests of other parts) snapshots stay in memory and no file is written.
UndoStore& undoRing();

// The undo folder in the form the file calls take (extended-length when it is long); empty when
// the folders have not been settled.
std::filesystem::path undoFolderForFiles();

// The Undo (201) and Redo (202) commands: step the ring, exchange the images, and bring the view,
// the oscillators and the play-position display up to date.
void undoCommand(CanvasWindow& canvas, int command);

}  // namespace lumetra::win
