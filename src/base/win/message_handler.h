#pragma once
// The one way our windows and dialogs reach their C++ objects: the object is handed over at
// creation, stored in the window, and every message is routed to it. No exception ever leaves a
// window procedure; one that reaches the boundary is reported and the message gets its default
// answer.

#include <windows.h>

namespace lumetra::win {

class WindowHandler {
  public:
    virtual ~WindowHandler() = default;
    // The window's messages; call DefWindowProcW for those not handled.
    virtual LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The window is gone (after WM_NCDESTROY); the handler is no longer reached.
    virtual void onDetached() {}
};

class DialogHandler {
  public:
    virtual ~DialogHandler() = default;
    // Dialog procedure semantics: TRUE when handled. WM_INITDIALOG arrives here too.
    virtual INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// Window procedure of every window class of ours; pass the handler as the creation parameter.
LRESULT CALLBACK windowTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Dialog procedure of every dialog of ours; pass the handler as the init parameter
// (CreateDialogParamW / DialogBoxParamW).
INT_PTR CALLBACK dialogTrampoline(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What happens to an exception that reached a window procedure (a warning box by default; the
// shell installs its own).
using BoundaryReporter = void (*)(const char* what);
void setBoundaryReporter(BoundaryReporter reporter);

}  // namespace lumetra::win
