#pragma once
// A tool window whose controls have no behaviour of their own yet: it is created from its dialog
// resource, shown, hidden, rolled up and placed like every tool window.

#include "shell/win/tool_window.h"

namespace lumetra::win {

class SimpleToolWindow : public ToolWindow {
  public:
    SimpleToolWindow(ToolPlacement placement, bool rollsUp)
        : placement_(placement), rollsUp_(rollsUp) {}

  protected:
    INT_PTR handle(HWND, UINT message, WPARAM, LPARAM) override {
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }
    bool rollsUp() const override { return rollsUp_; }
    ToolPlacement placement() override { return placement_; }

  private:
    ToolPlacement placement_;
    bool rollsUp_;
};

}  // namespace lumetra::win
