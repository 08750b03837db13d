#pragma once
// Helpers for the four modeless tool windows (brush, Echord, image browser, render options).

#include <windows.h>

namespace lumetra::win {

// Enables or disables the four tool windows together and records the flag.
void enableToolWindows(bool enable);

// Visible and more than 50 pixels high (a rolled-up window counts as closed).
bool isToolWindowOpen(HWND window);

// Unrolls a rolled-up window, then brings a visible one to the top or shows a hidden one.
void showToolWindow(HWND window);

// The caption double click: a window at least 100 pixels high rolls up to its caption (and the
// keyboard focus goes to the main window); a lower one unrolls to `fullHeight`. Returns the new
// height.
int rollToolWindow(HWND window, int fullHeight);

// Tool windows record their full height so that showToolWindow can unroll any of them.
void rememberFullHeight(HWND window, int fullHeight);
void forgetFullHeight(HWND window);

// The height of a rolled-up tool window: twice the fixed frame plus the small caption.
int rolledUpHeight();

// Gives one control a bold copy of the dialog's font (made once and shared).
void setDialogItemBold(HWND dialog, int controlId);

// Puts the visible tool windows back above the main window. The platform keeps owned windows
// above their owner; Wine without a window manager lets an activated owner cover them.
void keepToolWindowsAboveOwner();

}  // namespace lumetra::win
