#pragma once
// The behaviour every modeless tool window shares: it registers itself as the active tool window
// when activated (so the message loop gives it dialog keyboard handling), rolls up to its caption
// on a caption double click, hides on Close, and records its placement when it is destroyed.

#include <windows.h>

#include "base/win/message_handler.h"

namespace lumetra::win {

struct ToolPlacement {
    int* x;
    int* y;
    int* show;             // 0 hidden, 5 shown, 6 rolled up
    int* width = nullptr;  // the image browser keeps its width and its bottom edge too
    int* bottom = nullptr;
};

class ToolWindow : public DialogHandler {
  public:
    // Creates the (hidden) dialog from its resource, owned by `owner`. Null on failure.
    HWND create(HINSTANCE instance, HWND owner, int dialogId);
    HWND window() const { return window_; }
    int fullHeight() const { return fullHeight_; }

    // Moves the window's top-left corner, keeping its size.
    void moveTo(int x, int y);
    // Shows the window as recorded: 6 rolls it up and shows it, anything else is a show command.
    void applyShowState(int state);
    // Records the window's place and show state in its placement fields (done when the window
    // is destroyed, and by the shutdown just before the settings are saved). The show state is
    // the one the program last gave the window, whatever the platform does to it meanwhile.
    void recordPlacement();

    INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) final;

  protected:
    // The window's own messages; return TRUE when handled.
    virtual INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual bool rollsUp() const { return true; }
    // Where the placement is recorded (fields of the window layout); null pointers skip it.
    virtual ToolPlacement placement() = 0;

  private:
    HWND window_ = nullptr;
    int fullHeight_ = 0;
    bool shown_ = false;
};

}  // namespace lumetra::win
