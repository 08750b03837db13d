#pragma once
// How the image browser's controls follow its size. Each side of a control is held either near
// (fixed from the left or top) or far (as a distance from the right or bottom edge), so that the
// control moves or stretches with the window. The three sliders share the filter group's width.
// The positions are measured once, from the window as created.

#include <array>
#include <span>

namespace lumetra {

struct ControlBox {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const ControlBox&, const ControlBox&) = default;
};

enum class Anchor { Near, Far };

struct LayoutRule {
    int control = 0;
    Anchor left = Anchor::Near, top = Anchor::Near, width = Anchor::Near, height = Anchor::Near;
};

// A control's box as held: near values as they are, far values as distances from the client
// area's right or bottom edge.
struct HeldBox {
    LayoutRule rule;
    ControlBox held;
};

HeldBox holdBox(const LayoutRule& rule, const ControlBox& box, int clientWidth, int clientHeight);
ControlBox placeBox(const HeldBox& box, int clientWidth, int clientHeight);

// The browser's rules, in the order they are applied. The current list's row stands for every
// tab's list; the labels and sliders get their tops (far) from their rules and their left edges
// and widths from the slider row.
std::span<const LayoutRule> browserLayoutRules();

// The slider row: each slider is (group width - group left - 55) / 3 wide; from the "R" label's
// own position, each slider begins 1 pixel right of the end of the label before it and each
// label 4 pixels right of the end of the slider before it.
struct SliderRow {
    std::array<ControlBox, 3> labels;
    std::array<ControlBox, 3> sliders;
};
SliderRow layOutSliderRow(const ControlBox& group, SliderRow row);

}  // namespace lumetra
