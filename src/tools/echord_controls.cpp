#include "tools/echord_controls.h"

#include <algorithm>
#include <cstdio>

#include "resources/resource_ids.h"

namespace lumetra {
namespace {

using S = EchordSettings;
const std::array<EchordSlider, 10> kSliders{{
    {IDC_ECHORD_ANGLE, &S::angle, 0, 360, "", false},
    {IDC_ECHORD_WARP, &S::warp, -100, 100, "", false},
    {IDC_ECHORD_HOP, &S::hop, 0, 100, " Hop:\t%d", true},
    {IDC_ECHORD_HOP1, &S::hop1, 0, 100, " 1st hop: %d", true},
    {IDC_ECHORD_FADE, &S::fade, 0, 100, " Fade:\t%d%%", false},
    {IDC_ECHORD_FADE1, &S::fade1, 0, 100, " 1st fade: %d%%", false},
    {IDC_ECHORD_NUM, &S::num, 0, 100, " Num:\t%d", false},
    {IDC_ECHORD_MUL, &S::mul, -50, 50, " Mul:\t%d", false},
    {IDC_ECHORD_RAND, &S::rand, 0, 100, " Rand:\t%d", false},
    {IDC_ECHORD_JITTER, &S::jitter, 0, 100, " Jitter:\t%d%%", false},
}};

std::int32_t* keptHopPosition(const EchordSlider& slider, HopSliders& hopSliders) {
    if (slider.control == IDC_ECHORD_HOP) return &hopSliders.hop;
    if (slider.control == IDC_ECHORD_HOP1) return &hopSliders.hop1;
    return nullptr;
}

// The readout line of one parameter: its format with the value filled in.
std::string readoutLine(const EchordSlider& slider, const EchordSettings& settings) {
    char line[64];
    std::snprintf(line, sizeof line, std::string(slider.format).c_str(), settings.*slider.field);
    return line;
}

}  // namespace

const std::array<EchordSlider, 10>& echordSliders() {
    return kSliders;
}

const EchordSlider* findEchordSlider(int control) {
    const auto found =
        std::find_if(kSliders.begin(), kSliders.end(),
                     [control](const EchordSlider& s) { return s.control == control; });
    return found == kSliders.end() ? nullptr : &*found;
}

std::int32_t moveEchordSlider(const EchordSlider& slider, std::int32_t position, bool shift,
                              EchordSettings& settings, HopSliders& hopSliders) {
    std::int32_t value = position + slider.minimum;
    if (shift) value = slider.control == IDC_ECHORD_ANGLE ? 90 : 0;
    value = std::clamp(value, slider.minimum, slider.maximum);
    if (std::int32_t* kept = keptHopPosition(slider, hopSliders)) *kept = value;
    settings.*slider.field = slider.hop ? hopFromSlider(value) : value;
    return value - slider.minimum;
}

std::int32_t echordSliderPosition(const EchordSlider& slider, const EchordSettings& settings,
                                  const HopSliders& hopSliders) {
    HopSliders kept = hopSliders;
    if (const std::int32_t* position = keptHopPosition(slider, kept)) return *position;
    return std::clamp(settings.*slider.field, slider.minimum, slider.maximum) - slider.minimum;
}

std::string echordAngleText(const EchordSettings& settings) {
    char text[32];
    std::snprintf(text, sizeof text, "%d\xC2\xB0", settings.angle);
    return text;
}

std::string echordWarpText(const EchordSettings& settings) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f\xC2\xB0", settings.warp * 0.1);
    return text;
}

ParameterReadout::ParameterReadout() {
    showDefaults();
}

void ParameterReadout::touch(int control) {
    const auto found = std::find(lines_.begin(), lines_.end(), control);
    const auto end = found == lines_.end() ? lines_.end() - 1 : found;
    std::rotate(lines_.begin(), end, end + 1);
    lines_[0] = control;
}

void ParameterReadout::showDefaults() {
    for (int control : {IDC_ECHORD_FADE, IDC_ECHORD_NUM, IDC_ECHORD_HOP})
        touch(control);
}

std::string ParameterReadout::text(const EchordSettings& settings) const {
    std::string text;
    for (int control : lines_) {
        if (!text.empty()) text += '\n';
        if (const EchordSlider* slider = findEchordSlider(control))
            text += readoutLine(*slider, settings);
    }
    return text;
}

}  // namespace lumetra
