#pragma once
// The modeless "Render Options" window (dialog 1003): it edits the render settings of the image
// in the canvas: pitch range, amp factor, time, soft sweeps and noise bandwidth.

#include "base/win/tool_window.h"
#include "render/render_settings.h"

namespace lumetra::win {

// What the window needs of the program around it. The window edits a copy of the settings and
// hands it back; the program takes it into the picture and, through its change notification,
// has the window refill its fields (refreshIfOpen).
class RenderOptionsHost {
  public:
    virtual ~RenderOptionsHost() = default;
    // The settings being edited: the current image's.
    virtual RenderSettings editedSettings() = 0;
    virtual int sampleRate() = 0;
    // The noise bandwidth the slider shows before the window is first filled.
    virtual int defaultNoiseBandwidth() = 0;
    // The user edited the settings. `fieldLeftOrArrow`: a pitch, time or amp field was left or
    // stepped, so the Nyquist check and the picture's oscillators follow; the check box and the
    // slider only store their value.
    virtual void settingsEdited(const RenderSettings& settings, bool fieldLeftOrArrow) = 0;
    // The window's Render button: the main window renders the picture.
    virtual void renderPressed() = 0;
};

class RenderOptionsWindow : public ToolWindow {
  public:
    RenderOptionsWindow(ToolPlacement placement, HWND& activeToolWindow, RenderOptionsHost& host)
        : ToolWindow(placement, activeToolWindow), host_(host) {}

    // Writes every field from the current image's settings.
    void fillFields();
    // Refills the fields when the window is open (after New Image, open, revert).
    void refreshIfOpen();
    std::wstring_view helpKeyword() const override { return L"Render options"; }

  protected:
    INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void onFieldLeft(int control);
    void onFieldTyped(int control);
    void onArrow(int control, int delta);

    RenderOptionsHost& host_;
    bool filling_ = false;
};

}  // namespace lumetra::win
