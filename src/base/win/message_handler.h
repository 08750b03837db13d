#pragma once
// The one way our windows and dialogs reach their C++ objects: the object is handed over at
// creation, stored in the window, and every message is routed to it. No exception ever leaves a
// window procedure; one that reaches the boundary is reported by the handler and the message
// gets its default answer.

#include <windows.h>

namespace lumetra::win {

// What both kinds of handler share: the report of a failure that reached the boundary.
class BoundaryHandler {
  public:
    virtual ~BoundaryHandler() = default;
    // Reports a failure that reached the window procedure. A report shows a box, which pumps
    // messages; a second failure inside it is not reported again.
    void reportFailure(const char* what);

  protected:
    // A warning box by default; the program's windows show it through the program's boxes.
    virtual void showFailure(const char* what);

  private:
    bool reporting_ = false;
};

class WindowHandler : public BoundaryHandler {
  public:
    // The window's messages; call DefWindowProcW for those not handled.
    virtual LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The window is gone (after WM_NCDESTROY); the handler is no longer reached.
    virtual void onDetached() {}
};

class DialogHandler : public BoundaryHandler {
  public:
    // Dialog procedure semantics: TRUE when handled. WM_INITDIALOG arrives here too.
    virtual INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// Window procedure of every window class of ours; pass the handler as the creation parameter.
LRESULT CALLBACK windowTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Dialog procedure of every dialog of ours; pass the handler as the init parameter
// (CreateDialogParamW / DialogBoxParamW).
INT_PTR CALLBACK dialogTrampoline(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs a modal dialog from the program's resources with `handler` as its handler; the dialog's
// EndDialog result.
INT_PTR runModalDialog(HINSTANCE instance, int dialogId, HWND owner, DialogHandler& handler);

}  // namespace lumetra::win
