#pragma once
// The "Echord Tool" window: ten sliders and three switches that make the Echord settings, the
// readout of the parameters last changed, the patch banks, and Apply.

#include "base/win/tool_window.h"
#include "tools/echord.h"
#include "tools/echord_controls.h"
#include "tools/echord_patches.h"

namespace lumetra::win {

// What Apply asks of the program: the copies added into its picture, as one undo step.
class EchordHost {
  public:
    virtual ~EchordHost() = default;
    virtual void applyEchord(const EchordSettings& settings) = 0;
};

class EchordWindow : public ToolWindow {
  public:
    // The patch table belongs to the program's settings: stores change it, and it is saved at
    // exit.
    EchordWindow(ToolPlacement placement, HWND& activeToolWindow, EchordPatchTable& patches,
                 EchordHost& host)
        : ToolWindow(placement, activeToolWindow), patches_(patches), host_(host) {}

    const EchordSettings& settings() const { return settings_; }
    std::wstring_view helpKeyword() const override { return L"Echord toolbox"; }

  protected:
    INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void initialise(HWND dialog);
    void sliderMoved(HWND dialog, HWND slider, int code);
    void command(HWND dialog, int control);
    void slotClicked(HWND dialog, int button);
    void bankClicked(HWND dialog, bool toB);
    void recall(HWND dialog, std::size_t slot);
    void showSliders(HWND dialog);
    void showSwitches(HWND dialog);
    void showTexts(HWND dialog);
    bool bankB(HWND dialog) const;

    EchordPatchTable& patches_;
    EchordHost& host_;
    EchordSettings settings_;
    HopSliders hopSliders_;
    ParameterReadout readout_;
    std::size_t currentSlot_ = 0;
};

}  // namespace lumetra::win
