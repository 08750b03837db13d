#pragma once
// The main window's three-part status bar: part 0 messages, part 1 progress and selection,
// part 2 the pointer readout.

#include <windows.h>

#include <string>
#include <string_view>

namespace lumetra::win {

HWND createStatusBar(HWND parent, HINSTANCE instance);

// Right edges of the parts: parts 1 and 2 as wide as the longest texts they show (a render's
// time and speed, the pointer's readout), part 0 the rest.
void setStatusPartsAtCreation(HWND statusBar, int clientWidth);
void setStatusPartsAfterResize(HWND statusBar, int clientWidth);

// A null bar takes nothing and gives an empty text.
void setStatusBarText(HWND statusBar, int part, std::wstring_view text);
std::wstring statusBarText(HWND statusBar, int part);

}  // namespace lumetra::win
