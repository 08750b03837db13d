#pragma once
// The program's message loop.

#include <windows.h>

namespace lumetra::win {

// Runs until the quit message: accelerators first (against the main window, whatever window
// the message is for), then dialog keyboard handling for the active tool window, then dispatch.
// `activeToolWindow` is read afresh for every message. Returns the quit message's code.
int runMessageLoop(const HWND& mainWindow, HACCEL accelerators, const HWND& activeToolWindow);

}  // namespace lumetra::win
