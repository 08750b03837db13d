#pragma once
// The Echord dialog's rules without the dialog: which slider sets which value, the Shift jumps,
// the angle and warp texts, and the three-line readout of the parameters last changed.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tools/echord.h"
#include "tools/echord_patches.h"

namespace lumetra {

// A slider's positions run from 0 to maximum - minimum and stand for the values minimum to
// maximum: some platforms draw the thumb of a range below 0 at its left end whatever its position.
struct EchordSlider {
    int control;
    std::int32_t EchordSettings::*field;
    std::int32_t minimum, maximum;
    std::string_view format;  // the readout line ("%d" of the value); empty for Angle and Warp
    bool hop;                 // the value is hopFromSlider of the position
};

inline constexpr std::int32_t kEchordSliderPage = 10;
const std::array<EchordSlider, 10>& echordSliders();
const EchordSlider* findEchordSlider(int control);

// A slider moved to `position`: with Shift held it jumps instead (Angle to 90, any other to 0).
// Sets the value (and for Hop and Hop1 the slider position kept for the patches) and returns the
// position the slider must show. A stored value outside the range shows at the range's end.
std::int32_t moveEchordSlider(const EchordSlider& slider, std::int32_t position, bool shift,
                              EchordSettings& settings, HopSliders& hopSliders);
// The slider position that shows a value (Hop and Hop1 from their kept positions).
std::int32_t echordSliderPosition(const EchordSlider& slider, const EchordSettings& settings,
                                  const HopSliders& hopSliders);

std::string echordAngleText(const EchordSettings& settings);  // "%d°"
std::string echordWarpText(const EchordSettings& settings);   // "%.1f°" of warp x 0.1

// The parameters last changed, most recent first, each listed once.
class ParameterReadout {
  public:
    ParameterReadout();
    void touch(int control);
    // After a recall or when the readout's timer fires: Hop, Num and Fade from the top.
    void showDefaults();
    std::string text(const EchordSettings& settings) const;

  private:
    std::array<int, 3> lines_{};
};

}  // namespace lumetra
