#include "shell/window_layout.h"

#include <gtest/gtest.h>

#include "settings_samples.h"

namespace lumetra {
namespace {

constexpr ScreenSize kScreen{1024, 768};

std::string checked(WindowLayout l, ScreenSize screen = kScreen) {
    validateLayout(l, screen);
    return test::layoutText(l);
}

TEST(WindowLayout, RectangleAndPointCheckBoundaries) {
    EXPECT_TRUE(rectangleOnScreen(-10, -10, 60, 50, kScreen));
    EXPECT_FALSE(rectangleOnScreen(-11, 50, 540, 280, kScreen));
    EXPECT_FALSE(rectangleOnScreen(50, -11, 540, 280, kScreen));
    EXPECT_FALSE(rectangleOnScreen(-10, 50, 59, 280, kScreen));  // right edge 49 < 50
    EXPECT_FALSE(rectangleOnScreen(50, -10, 540, 49, kScreen));  // bottom edge 39 < 40
    EXPECT_TRUE(rectangleOnScreen(984, 0, 50, 40, kScreen));     // x = width - 40, right = +10
    EXPECT_FALSE(rectangleOnScreen(985, 0, 40, 40, kScreen));
    EXPECT_FALSE(rectangleOnScreen(900, 0, 135, 40, kScreen));  // right = width + 11
    EXPECT_TRUE(rectangleOnScreen(0, 758, 100, 20, kScreen));   // y = height - 10, bottom = +10
    EXPECT_FALSE(rectangleOnScreen(0, 759, 100, 19, kScreen));
    EXPECT_FALSE(rectangleOnScreen(0, 700, 100, 79, kScreen));
    // Sums beyond 32 bits do not wrap into acceptance.
    EXPECT_FALSE(rectangleOnScreen(INT32_MAX, 0, INT32_MAX, 100, kScreen));
    EXPECT_FALSE(rectangleOnScreen(0, 0, INT32_MIN, 100, kScreen));
    EXPECT_TRUE(pointOnScreen(-20, -10, kScreen) && pointOnScreen(994, 748, kScreen));
    for (const auto& [x, y] : {std::pair{-21, 0}, {0, -11}, {995, 0}, {0, 749}})
        EXPECT_FALSE(pointOnScreen(x, y, kScreen)) << x << ", " << y;
}

TEST(WindowLayout, PlacesAreKeptOnTheScreenOrBroughtBack) {
    // The first start's places are made for 1280 x 1024; on this smaller screen the browser
    // beside the main window is brought back over its right part.
    const std::string defaults =
        "main 8 8 880 560 show 5, brush 8 568 show 1, echord 284 568 "
        "show 5, render 258 54 show 0, browser 668 34 370 364 show 5";
    EXPECT_EQ(checked(WindowLayout{}), defaults);
    // Everything left on a second display that is gone: the tools follow the main window.
    EXPECT_EQ(checked(WindowLayout{.mainX = 1500,
                                   .mainY = 900,
                                   .brushX = 1600,
                                   .brushY = 1200,
                                   .echordX = 1900,
                                   .echordY = 1200,
                                   .renderX = 2000,
                                   .renderY = 950,
                                   .browserX = 1800,
                                   .browserY = 926,
                                   .browserBottom = 1256}),
              "main 50 50 540 280 show 5, brush 50 330 show 1, echord 80 345 show 5, "
              "render 330 130 show 0, browser 370 76 370 406 show 5");
    // Brush y is min(300 + 180, 480 - 100), echord y min(380 + 15, 380), render x
    // min(680, 640 - 180). The browser's place follows the main window without a second check.
    EXPECT_EQ(checked(WindowLayout{.mainX = 400,
                                   .mainY = 300,
                                   .mainWidth = 240,
                                   .mainHeight = 180,
                                   .brushX = -100,
                                   .echordX = -100,
                                   .renderX = -100},
                      ScreenSize{640, 480}),
              "main 400 300 240 180 show 5, brush 400 380 show 1, echord 430 380 show 5, "
              "render 460 380 show 0, browser 420 326 370 656 show 5");
    // The browser is checked by its height, not by its bottom edge added to its top.
    EXPECT_EQ(checked(WindowLayout{.browserX = 600, .browserY = 400, .browserBottom = 730}),
              defaults.substr(0, defaults.find("browser")) + "browser 600 400 370 730 show 5");
    EXPECT_EQ(checked(WindowLayout{.browserX = 600, .browserY = 400, .browserBottom = 900}),
              defaults);
}

TEST(WindowLayout, ShowStatesOutsideTheirRangeBecomeNormal) {
    // The main window takes 1..10, the tool windows 0..10; the brush dialog is always shown.
    const int cases[][3] = {{-1, 1, 1}, {0, 1, 0}, {1, 1, 1}, {6, 6, 6}, {10, 10, 10}, {11, 1, 1}};
    for (const auto& [stored, main, tool] : cases) {
        WindowLayout l;
        l.mainShow = l.brushShow = l.echordShow = l.renderShow = l.browserShow = stored;
        validateLayout(l, kScreen);
        EXPECT_EQ((std::vector{l.mainShow, l.echordShow, l.renderShow, l.browserShow, l.brushShow}),
                  (std::vector{main, tool, tool, tool, kShowNormal}))
            << stored;
    }
    // A minimized main window is recorded as shown.
    WindowLayout l;
    recordMainPlacement(l, MainWindowPlacement{10, 20, 610, 420, 2, true});
    EXPECT_EQ(checked(l).substr(0, 26), "main 10 20 600 400 show 5,");
}

}  // namespace
}  // namespace lumetra
