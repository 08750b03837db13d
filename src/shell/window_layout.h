#pragma once
// Where the main window and the four tool windows stood at the last exit, and the checks that
// bring saved places back onto the screen (after a change of display, say).

#include <cstdint>

#include "base/screen_size.h"

namespace lumetra {

// Show commands as the platform numbers them; tool windows use 0 hidden, 5 shown, 6 rolled up.
inline constexpr std::int32_t kShowHidden = 0;
inline constexpr std::int32_t kShowNormal = 1;
inline constexpr std::int32_t kShowShown = 5;
inline constexpr std::int32_t kShowRolledUp = 6;

// The first start's places fit a 1280 x 1024 screen: the main window with the default picture,
// its rulers and whole status texts at the top left, the image browser beside it, the brush and
// Echord windows below it.
struct WindowLayout {
    std::int32_t mainX = 8;
    std::int32_t mainY = 8;
    std::int32_t mainWidth = 880;
    std::int32_t mainHeight = 560;
    std::int32_t mainShow = kShowShown;
    std::int32_t brushX = 8;
    std::int32_t brushY = 568;
    std::int32_t brushShow = kShowShown;
    std::int32_t echordX = 284;
    std::int32_t echordY = 568;
    std::int32_t echordShow = kShowShown;
    std::int32_t renderX = 258;
    std::int32_t renderY = 54;
    std::int32_t renderShow = kShowHidden;
    std::int32_t browserX = 896;
    std::int32_t browserY = 8;
    std::int32_t browserWidth = 370;
    std::int32_t browserBottom = 608;  // screen coordinate of the browser's bottom edge
    std::int32_t browserShow = kShowShown;
    // The canvas's zoom step (-4 for 1/16 .. 4 for 16 times) and whether its rulers show.
    std::int32_t canvasZoom = 0;
    std::int32_t canvasRulers = 1;

    friend bool operator==(const WindowLayout&, const WindowLayout&) = default;
};

// The main window's normal-position rectangle and show state, taken just before saving.
struct MainWindowPlacement {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t showCommand = kShowNormal;
    bool minimized = false;
};

// A saved rectangle is usable when enough of it lies on the screen to be grabbed.
bool rectangleOnScreen(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                       ScreenSize screen);
// A saved top-left corner of a tool window is usable when its caption can be reached.
bool pointOnScreen(std::int32_t x, std::int32_t y, ScreenSize screen);

// Records the main window's place; a minimized window is saved as shown so that the next start
// does not come up as an icon.
void recordMainPlacement(WindowLayout& layout, const MainWindowPlacement& placement);

// Replaces unusable saved places by places derived from the main window, and unusable show
// states by plain showing. The brush dialog always comes up shown.
void validateLayout(WindowLayout& layout, ScreenSize screen);

}  // namespace lumetra
