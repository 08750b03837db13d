#pragma once
// The program's undo ring and the commands that change the picture as a whole: New Image, Undo,
// Redo and Delete.

namespace lumetra::win {

struct Program;

// Makes the program's undo ring over the settled undo folder and the undo limit. Without a
// folder, snapshots stay in memory and no file is written.
void startUndoRing(Program& program);

// Before a change of pixels: true when the change may go ahead (with a snapshot, or merged into
// the previous one).
bool storeUndoSnapshot(Program& program, bool askOnFailure, int operation);

// New Image (101), Undo (201) and Redo (202).
void newImageCommand(Program& program, int command);
void undoCommand(Program& program, int command);

}  // namespace lumetra::win
