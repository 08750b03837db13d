// Finding Lumetra's windows from outside: the main window by its class, its child controls,
// and the dialogs and message boxes that belong to its process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Milliseconds that every wait of one driver run allows (set by --timeout).
extern int gTimeoutMs;
// Set by --starting: the main window counts before it is shown (a box during its creation keeps
// it hidden until the box is answered).
extern bool gAcceptHiddenMain;

struct MainWindow {
    HWND window = nullptr;
    DWORD processId = 0;
};

// The visible main window ("LumetraWin"; with gAcceptHiddenMain also a hidden one), or a window
// of null when there is none.
MainWindow findMainWindow();
// Waits up to gTimeoutMs for the main window; throws when it does not appear.
MainWindow requireMainWindow();

struct TopWindow {
    HWND window;
    std::wstring className;
    std::wstring caption;
    RECT rect;
};
// The visible top-level windows of a process, in z-order (topmost first).
std::vector<TopWindow> visibleWindows(DWORD processId);

// A visible dialog (class "#32770") of the process with exactly this caption, or null.
HWND findDialog(DWORD processId, const std::wstring& caption);
// The text of a window of another process (WM_GETTEXT is carried across processes).
std::wstring windowText(HWND window);

// Sends a message and waits at most gTimeoutMs for the answer; throws on a timeout.
LRESULT sendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace e2e
