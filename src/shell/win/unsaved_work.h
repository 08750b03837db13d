#pragma once
// A user's work is never lost: before anything closes or replaces a changed picture the program
// asks "Save changes to NAME?". Yes saves (and stops when the save fails), No goes on without
// saving, Cancel leaves everything as it was.

namespace lumetra::win {

struct Program;

// True when the caller may close or replace the picture: it was not changed, or the user saved
// it, or chose not to.
bool offerToSaveChanges(Program& program);

// Save (105): over the document's file when that is a BMP file, else as Save As does. True when
// the picture was written.
bool saveDocument(Program& program);
// Save As (106): the save dialog, then the picture under the chosen name with the ".bmp" ending.
// True when the picture was written.
bool saveDocumentAs(Program& program);

}  // namespace lumetra::win
