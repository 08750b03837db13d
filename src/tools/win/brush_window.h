#pragma once
// The brush dialog (1011) as far as it goes until the brush tool arrives: a tool window that
// starts with its colour boiler part folded away, the way the brush shows itself at first.

#include "base/win/tool_window.h"

namespace lumetra::win {

class BrushWindow : public PlainToolWindow {
  public:
    using PlainToolWindow::PlainToolWindow;

  protected:
    INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace lumetra::win
