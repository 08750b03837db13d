#pragma once
// The main window (class "LumetraWin"): its set-up in the fixed order, its messages and the
// shutdown sequence.

#include <windows.h>

namespace lumetra::win {

inline constexpr wchar_t kMainClassName[] = L"LumetraWin";

// Registers "LumetraWin" and then "LumetraImage"; false when either fails.
bool registerWindowClasses(HINSTANCE instance);

// Creates the main window with the start title at the window layout's rectangle.
HWND createMainWindow(HINSTANCE instance);

// Loads menu 100, trims it and attaches it to the main window.
void attachMainMenu(HWND mainWindow, HINSTANCE instance);

// The shutdown sequence; runs once whatever calls it.
void runShutdown();

// Ends the program from anywhere: destroys the main window (which runs the shutdown sequence),
// or, before the window exists, runs the sequence and posts the quit message.
void endProgram();

// Lays the toolbar, canvas and status bar out for the main window's client size.
void layoutMainWindow(int clientWidth, int clientHeight);

}  // namespace lumetra::win
