#pragma once
// The program's message loop.

namespace lumetra::win {

// Runs until the quit message: accelerators first (against the main window, whatever window
// the message is for), then dialog keyboard handling for the active tool window, then dispatch.
// Returns the quit message's code.
int runMessageLoop();

}  // namespace lumetra::win
