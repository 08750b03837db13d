#pragma once
// The behaviour every modeless tool window shares: it reports itself as the active tool window
// when activated (so that the message loop gives it dialog keyboard handling), rolls up to its
// caption on a caption double click, hides on Close, and records its placement when it is
// destroyed.

#include <windows.h>

#include <string_view>

#include "base/win/message_handler.h"
#include "base/win/unique_handle.h"

namespace lumetra::win {

// Where a tool window records its place: fields of the program's window layout. Null pointers
// are skipped.
struct ToolPlacement {
    int* x = nullptr;
    int* y = nullptr;
    int* show = nullptr;   // 0 hidden, 5 shown, 6 rolled up
    int* width = nullptr;  // the image browser keeps its width and its bottom edge too
    int* bottom = nullptr;
};

class ToolWindow : public DialogHandler {
  public:
    // `activeToolWindow` is the message loop's record of the tool window that has the
    // activation; this window sets it while it is active.
    ToolWindow(ToolPlacement placement, HWND& activeToolWindow, bool rollsUp = true)
        : placement_(placement), active_(activeToolWindow), rollsUp_(rollsUp) {}

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
    // Visible and more than 50 pixels high (a rolled-up window counts as closed).
    bool isOpen() const;
    // Where the help file opens while this window is the active tool window; empty for the
    // program's general help.
    virtual std::wstring_view helpKeyword() const { return {}; }
    // Unrolls a rolled-up window, then brings a visible one to the top or shows a hidden one.
    void show();
    // The caption double click: a window at least 100 pixels high keeps its height as the full
    // height and rolls up to its caption (and the keyboard focus goes to its owner); a lower one
    // unrolls to its full height.
    virtual void roll();
    // Gives one control a bold copy of the dialog's font.
    void setItemBold(int controlId);

    INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) final;

  protected:
    // The window's own messages; return TRUE when handled.
    virtual INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) = 0;

  private:
    ToolPlacement placement_;
    HWND& active_;
    bool rollsUp_;
    HWND window_ = nullptr;
    int fullHeight_ = 0;
    bool shown_ = false;
    UniqueFont boldFont_;
};

// A tool window whose controls have no behaviour of their own yet: it is created from its dialog
// resource, shown, hidden, rolled up and placed like every tool window.
class PlainToolWindow : public ToolWindow {
  public:
    PlainToolWindow(ToolPlacement placement, HWND& activeToolWindow,
                    std::wstring_view helpKeyword = {})
        : ToolWindow(placement, activeToolWindow), helpKeyword_(helpKeyword) {}

    std::wstring_view helpKeyword() const override { return helpKeyword_; }

  protected:
    INT_PTR handle(HWND, UINT message, WPARAM, LPARAM) override {
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }

  private:
    std::wstring_view helpKeyword_;  // a literal
};

// Whether Shift is down as the message being handled was sent: tool windows store patches and
// jump sliders with it.
inline bool shiftHeld() {
    return GetKeyState(VK_SHIFT) < 0;
}

// The height of a rolled-up tool window: twice the fixed frame plus the small caption.
int rolledUpHeight();

// A bold copy of a dialog's font (or of the default GUI font when the dialog has none), for the
// headings of dialogs.
UniqueFont makeBoldFont(HWND dialog);

}  // namespace lumetra::win
