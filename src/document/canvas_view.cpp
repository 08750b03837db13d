#include "document/canvas_view.h"

#include <algorithm>
#include <array>
#include <string>

namespace lumetra {

std::uint8_t decorateByte(std::uint8_t v, int decoration) {
    int value = v;
    if (decoration & kDecorationBrighten) {
        int t = value < 160 ? (250 - value) / 3 : 30;
        value = std::min(255, ((value + t) * 5) / 4);
    }
    if (decoration & kDecorationInvert) value = 255 - value;
    return std::uint8_t(value);
}

PixelImage decoratedCopy(const PixelImage& image, const Rect& area, int decoration) {
    std::string message;
    auto out = createCanvasBitmap(area.width(), area.height(), message);
    if (!out) return {};
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[size_t(v)] = decorateByte(std::uint8_t(v), decoration);
    const size_t rowBytes = size_t(area.width()) * 3;
    for (int y = 0; y < area.height(); ++y) {
        const std::uint8_t* from = image.pictureRow(area.top + y) + size_t(area.left) * 3;
        std::uint8_t* to = out->pictureRow(y);
        for (size_t i = 0; i < rowBytes; ++i)
            to[i] = table[from[i]];
    }
    return std::move(*out);
}

int decorationForStyle(int selectionStyle, bool showBrighter) {
    switch (selectionStyle) {
        case 1:
            return showBrighter ? 7 : 5;
        case 2:
            return 6;
        default:
            return (showBrighter ? 1 : 0) + 4;
    }
}

int decorationAfterBrighterToggle(int selectionStyle, bool showBrighter) {
    if (selectionStyle == 0) return 4;
    return showBrighter ? 2 + 4 : selectionStyle + 4;
}

namespace {

AxisLayout layoutAxis(bool fits, int clientExtent, int pictureExtent, int position) {
    AxisLayout a;
    if (fits) return a;
    a.visible = true;
    a.page = clientExtent / 2;
    a.maximum = a.page - clientExtent + pictureExtent + 14;
    a.position = std::max(0, std::min(position, maxScrollPosition(a)));
    return a;
}

}  // namespace

ScrollLayout computeScrollLayout(int clientWidth, int clientHeight, int pictureWidth,
                                 int pictureHeight, int verticalBarWidth, int horizontalBarHeight,
                                 int horizontalPosition, int verticalPosition) {
    int width = clientWidth;
    int height = clientHeight;
    bool fitsX = pictureWidth + 10 <= width;
    bool fitsY = pictureHeight + 10 <= height;
    if (!fitsY) width -= verticalBarWidth;
    if (!fitsX) height -= horizontalBarHeight;
    // A bar that has just appeared may push the other axis out of its fit; test once more.
    bool fitsX2 = pictureWidth + 10 <= width;
    bool fitsY2 = pictureHeight + 10 <= height;
    if (fitsX && !fitsX2) height -= horizontalBarHeight;
    if (fitsY && !fitsY2) width -= verticalBarWidth;
    ScrollLayout layout;
    layout.horizontal = layoutAxis(fitsX2, width, pictureWidth, horizontalPosition);
    layout.vertical = layoutAxis(fitsY2, height, pictureHeight, verticalPosition);
    return layout;
}

int clampScrollPosition(const AxisLayout& a, int position) {
    return std::max(0, std::min(position, maxScrollPosition(a)));
}

}  // namespace lumetra
