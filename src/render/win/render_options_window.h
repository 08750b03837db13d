#pragma once
// The modeless "Render Options" window (dialog 1003): it edits the render settings of the image
// in the canvas: pitch range, amp factor, time, soft sweeps and noise bandwidth.

#include "document/canvas_image.h"
#include "shell/win/tool_window.h"

namespace lumetra::win {

class RenderOptionsWindow : public ToolWindow {
  public:
    // Writes every field from the current image's settings.
    void fillFields();
    // Refills the fields when the window is open (after New Image, open, revert).
    void refreshIfOpen();

  protected:
    INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
    ToolPlacement placement() override;

  private:
    void onFieldLeft(int control);
    void onFieldTyped(int control);
    void onArrow(int control, int delta);
    void settingsChanged();
    RenderSettings* settings();

    bool filling_ = false;
};

// Refills the render options window's fields when it is open.
void refreshRenderOptionsWindow();

}  // namespace lumetra::win
