#pragma once
// The canvas's display arithmetic, free of window handles so that it can be tested: the
// decorations of the selection painter and the scroll-bar layout.

#include <cstdint>

#include "document/canvas_image.h"
#include "image/pixel_image.h"

namespace lumetra {

// DragDecoration bits.
inline constexpr int kDecorationBrighten = 1;
inline constexpr int kDecorationInvert = 2;
inline constexpr int kDecorationOutline = 4;

// One channel byte as the decoration shows it: brighten (t = (250 - v) / 3 below 160, else 30;
// v = min(255, (v + t) * 5 / 4)), then invert.
std::uint8_t decorateByte(std::uint8_t v, int decoration);

// The pixels of `area` (picture coordinates, inside the picture) with every byte decorated.
PixelImage decoratedCopy(const PixelImage& image, const Rect& area, int decoration);

// The DragDecoration set by the selection style commands 257 (style 0), 258 (1) and 259 (2).
int decorationForStyle(int selectionStyle, bool showBrighter);
// The DragDecoration after the brighter display (256) has been switched.
int decorationAfterBrighterToggle(int selectionStyle, bool showBrighter);

struct AxisLayout {
    bool visible = false;
    int page = 0;
    int maximum = 0;
    int position = 0;
};

struct ScrollLayout {
    AxisLayout horizontal;
    AxisLayout vertical;
};

// The scroll bars for a picture in a client area of the given size measured without scroll bars.
// A bar of one axis takes its thickness off the other axis, and the fit is tested once more.
ScrollLayout computeScrollLayout(int clientWidth, int clientHeight, int pictureWidth,
                                 int pictureHeight, int verticalBarWidth, int horizontalBarHeight,
                                 int horizontalPosition, int verticalPosition);

// The largest position a scroll bar of this layout takes.
inline int maxScrollPosition(const AxisLayout& a) {
    return a.maximum - a.page + 1;
}

// A scroll position limited to [0, maximum - page + 1].
int clampScrollPosition(const AxisLayout& a, int position);

}  // namespace lumetra
