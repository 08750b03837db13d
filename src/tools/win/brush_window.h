#pragma once
// The "Brush Tools" window: the colour picture the two brush colours are picked from, the
// preview of one dab that a drag sizes, shape, fade and mix, the spray density, the colour
// boiler's four sliders and the patch banks. Every change rebuilds the program's brush.

#include <cstddef>
#include <optional>
#include <string>

#include "base/win/tool_window.h"
#include "base/win/unique_handle.h"
#include "image/pixel_image.h"
#include "render/random_seed.h"
#include "tools/brush_dialog_rules.h"
#include "tools/brush_palette.h"
#include "tools/paint_dab.h"
#include "tools/patch_blocks.h"

namespace lumetra::win {

// What the window asks of the program: to show why a brush could not be had (the window keeps
// the brush it had).
class BrushHost {
  public:
    virtual ~BrushHost() = default;
    virtual void brushRefused(const std::string& message) = 0;
};

class BrushWindow : public ToolWindow {
  public:
    // The brush, the patch block and the random seed belong to the program: strokes paint with
    // the brush, the patches are saved at exit, and the seed is the one every draw moves.
    BrushWindow(ToolPlacement placement, HWND& activeToolWindow, BrushTool& tool,
                BrushPatchBlock& patches, RandomSeed& seed, BrushHost& host)
        : ToolWindow(placement, activeToolWindow),
          tool_(tool),
          patches_(patches),
          seed_(seed),
          host_(host) {}

    const BrushSettings& settings() const { return tool_.brush.settings; }
    std::wstring_view helpKeyword() const override { return L"Brush toolbox"; }
    std::size_t currentSlot() const { return currentSlot_; }

  protected:
    INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void initialise(HWND dialog);
    void command(HWND dialog, int control);
    void sliderMoved(HWND dialog, HWND slider, int code);
    void slotClicked(HWND dialog, int button);
    void bankClicked(HWND dialog, bool toB);
    // Builds the brush for `settings`; on failure the program says why and the old brush and
    // the controls showing it stay. The controls follow either way.
    bool rebuild(HWND dialog, const BrushSettings& settings);
    void showSettings(HWND dialog);
    void showBoilerWidth(HWND dialog, bool boil);
    void showReadout(HWND dialog);
    void repaintSwatches(HWND dialog);
    void repaintPreview(HWND dialog);
    void drawItem(const DRAWITEMSTRUCT& item);
    void drawPreview(HDC dc, const RECT& client);
    bool mouseDown(HWND dialog, LPARAM lParam, bool left);
    void mouseMoved(HWND dialog, WPARAM wParam, LPARAM lParam);
    void mouseUp(HWND dialog);
    // Picks the palette pixel under `pointer` (dialog client coordinates) when it lies on it.
    bool pickAt(HWND dialog, POINT pointer, bool left);
    void sizeAt(HWND dialog, POINT pointer);

    BrushTool& tool_;
    BrushPatchBlock& patches_;
    RandomSeed& seed_;
    BrushHost& host_;
    std::optional<PixelImage> palette_;
    UniqueBrush swatch1_;
    UniqueBrush swatch2_;
    PickBase pickBase_;
    bool picking_ = false;
    bool sizing_ = false;
    PreviewArea preview_;
    int fullWidth_ = 0;
    int boilerFold_ = 0;
    std::size_t currentSlot_ = 0;
};

}  // namespace lumetra::win
