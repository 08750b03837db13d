#pragma once
// Cut, Copy, Paste, Paste As Overlay and Paste As Filter: pictures exchanged with other programs
// through the system clipboard, which the program opens on behalf of its canvas window.

namespace lumetra::win {

struct Program;

// 204 Copy puts the operation region on the clipboard; 203 Cut (after the undo snapshot) also
// blacks it out, once it is safely there. With the image browser the active window, both put the
// browser's selected file on the clipboard instead and leave the picture alone.
void copyCommand(Program& program, int id);

// 205 Paste, 206 Paste As Overlay (OR) and 209 Paste As Filter: the clipboard's picture
// stretched onto the operation region, after the undo snapshot.
void pasteCommand(Program& program, int id);

}  // namespace lumetra::win
