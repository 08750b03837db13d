#include "browser/browser_layout.h"

#include "resources/resource_ids.h"

namespace lumetra {
namespace {

constexpr Anchor N = Anchor::Near;
constexpr Anchor F = Anchor::Far;
constexpr int kCloseButton = 2;  // "&Close" is the dialog's cancel button

constexpr std::array<LayoutRule, 15> kRules{{
    {IDC_BROWSER_TABS, N, N, F, F},
    {IDC_BROWSER_LIST, N, N, F, F},
    {IDC_BROWSER_ADD_FOLDER, N, F, N, N},
    {IDC_BROWSER_REFRESH, N, F, N, N},
    {kCloseButton, F, F, N, N},
    {IDC_BROWSER_FILTER_GROUP, N, F, F, N},
    {IDC_BROWSER_RED_LABEL, N, F, N, N},
    {IDC_BROWSER_RED, N, F, N, N},
    {IDC_BROWSER_GREEN_LABEL, N, F, N, N},
    {IDC_BROWSER_GREEN, N, F, N, N},
    {IDC_BROWSER_BLUE_LABEL, N, F, N, N},
    {IDC_BROWSER_BLUE, N, F, N, N},
    {IDC_BROWSER_FLIP_GROUP, F, F, N, N},
    {IDC_BROWSER_FLIP_UD, F, F, N, N},
    {IDC_BROWSER_FLIP_LR, F, F, N, N},
}};

int hold(Anchor anchor, int value, int extent) {
    return anchor == Anchor::Far ? extent - value : value;
}

}  // namespace

HeldBox holdBox(const LayoutRule& rule, const ControlBox& box, int clientWidth, int clientHeight) {
    return HeldBox{
        rule, ControlBox{hold(rule.left, box.x, clientWidth), hold(rule.top, box.y, clientHeight),
                         hold(rule.width, box.width, clientWidth),
                         hold(rule.height, box.height, clientHeight)}};
}

ControlBox placeBox(const HeldBox& box, int clientWidth, int clientHeight) {
    const LayoutRule& r = box.rule;
    const ControlBox& h = box.held;
    // Holding is its own inverse: a far value is the distance back from the edge.
    return ControlBox{hold(r.left, h.x, clientWidth), hold(r.top, h.y, clientHeight),
                      hold(r.width, h.width, clientWidth), hold(r.height, h.height, clientHeight)};
}

std::span<const LayoutRule> browserLayoutRules() {
    return kRules;
}

SliderRow layOutSliderRow(const ControlBox& group, SliderRow row) {
    // A slider drawn over the end of its label would cut the letter ("B" read as "3").
    const int sliderWidth = (group.width - group.x - 55) / 3;
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0) row.labels[i].x = row.sliders[i - 1].x + row.sliders[i - 1].width + 4;
        row.sliders[i].x = row.labels[i].x + row.labels[i].width + 1;
        row.sliders[i].width = sliderWidth;
    }
    return row;
}

}  // namespace lumetra
