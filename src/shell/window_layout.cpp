#include "shell/window_layout.h"

#include <algorithm>

namespace lumetra {
namespace {

// Sums of stored numbers may exceed 32 bits; the checks work in 64.
using Wide = std::int64_t;

bool showInRange(std::int32_t show, std::int32_t low) {
    return show >= low && show <= 10;
}

}  // namespace

bool rectangleOnScreen(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                       ScreenSize screen) {
    const Wide right = Wide{x} + width;
    const Wide bottom = Wide{y} + height;
    return x >= -10 && right >= 50 && y >= -10 && bottom >= 40 && Wide{x} <= screen.width - 40 &&
           right <= Wide{screen.width} + 10 && Wide{y} <= screen.height - 10 &&
           bottom <= Wide{screen.height} + 10;
}

bool pointOnScreen(std::int32_t x, std::int32_t y, ScreenSize screen) {
    return x >= -20 && Wide{x} <= screen.width - 30 && y >= -10 && Wide{y} <= screen.height - 20;
}

void recordMainPlacement(WindowLayout& layout, const MainWindowPlacement& placement) {
    layout.mainShow = placement.minimized ? kShowShown : placement.showCommand;
    layout.mainX = placement.left;
    layout.mainY = placement.top;
    layout.mainWidth = placement.right - placement.left;
    layout.mainHeight = placement.bottom - placement.top;
}

void validateLayout(WindowLayout& l, ScreenSize screen) {
    if (!rectangleOnScreen(l.mainX, l.mainY, l.mainWidth, l.mainHeight, screen)) {
        l.mainX = 50;
        l.mainY = 50;
        l.mainWidth = 540;
        l.mainHeight = 280;
    }
    // The browser keeps its bottom edge, not its height; the check needs the height.
    const Wide browserHeight = Wide{l.browserBottom} - l.browserY;
    if (browserHeight < INT32_MIN || browserHeight > INT32_MAX ||
        !rectangleOnScreen(l.browserX, l.browserY, l.browserWidth, std::int32_t(browserHeight),
                           screen)) {
        l.browserX = l.mainX + l.mainWidth - 220;
        l.browserY = l.mainY + 26;
        l.browserWidth = 370;
        l.browserBottom = l.browserY + 330;
    }
    if (!pointOnScreen(l.brushX, l.brushY, screen)) {
        l.brushX = std::min(l.mainX, screen.width - 150);
        l.brushY = std::min(l.mainY + l.mainHeight, screen.height - 100);
    }
    if (!pointOnScreen(l.echordX, l.echordY, screen)) {
        l.echordX = std::min(l.brushX + 30, screen.width - 150);
        l.echordY = std::min(l.brushY + 15, screen.height - 100);
    }
    if (!pointOnScreen(l.renderX, l.renderY, screen)) {
        l.renderX = std::min(l.mainX + 280, screen.width - 180);
        l.renderY = l.mainY + 80;
    }
    if (!showInRange(l.mainShow, 1)) l.mainShow = kShowNormal;
    if (!showInRange(l.browserShow, 0)) l.browserShow = kShowNormal;
    if (l.canvasZoom < -4 || l.canvasZoom > 4) l.canvasZoom = 0;
    if (l.canvasRulers != 0) l.canvasRulers = 1;
    if (!showInRange(l.renderShow, 0)) l.renderShow = kShowNormal;
    if (!showInRange(l.echordShow, 0)) l.echordShow = kShowNormal;
    l.brushShow = kShowNormal;
}

}  // namespace lumetra
