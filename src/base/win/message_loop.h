#pragma once
// The program's message loop.

#include <windows.h>

namespace lumetra::win {

// Runs until the quit message: accelerators first (against the main window, whatever window
// the message is for, unless the key belongs to a focused edit field or button), then dialog
// keyboard handling for the active tool window, then dispatch. `activeToolWindow` is read afresh
// for every message. Returns the quit message's code.
int runMessageLoop(const HWND& mainWindow, HACCEL accelerators, const HWND& activeToolWindow);

// Whether the main window's accelerators may see a message. A key typed into an edit field edits
// its text and a key on a button presses it, so those stay with the control; function keys and
// Ctrl or Alt shortcuts go to the accelerators from anywhere, as does every key elsewhere.
// `controlHeld` is the state of Ctrl when the key came.
bool acceleratorsMaySee(const MSG& msg, bool controlHeld);

// Runs the accelerators for one message, as the loop does: true when one of them took it.
bool translateProgramKey(HWND mainWindow, HACCEL accelerators, MSG& msg);

}  // namespace lumetra::win
