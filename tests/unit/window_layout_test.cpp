#include "shell/window_layout.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

constexpr ScreenSize kScreen{1024, 768};

TEST(WindowLayout, RectangleCheckBoundaries) {
    EXPECT_TRUE(rectangleOnScreen(50, 50, 540, 280, kScreen));
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
}

TEST(WindowLayout, PointCheckBoundaries) {
    EXPECT_TRUE(pointOnScreen(-20, -10, kScreen));
    EXPECT_TRUE(pointOnScreen(994, 748, kScreen));
    EXPECT_FALSE(pointOnScreen(-21, 0, kScreen));
    EXPECT_FALSE(pointOnScreen(0, -11, kScreen));
    EXPECT_FALSE(pointOnScreen(995, 0, kScreen));
    EXPECT_FALSE(pointOnScreen(0, 749, kScreen));
}

TEST(WindowLayout, DefaultsFollowTheMainWindow) {
    const WindowLayout l;
    EXPECT_EQ(l.brushX, l.mainX);
    EXPECT_EQ(l.brushY, l.mainY + l.mainHeight);
    EXPECT_EQ(l.echordX, l.brushX + 276);
    EXPECT_EQ(l.echordY, l.mainY + l.mainHeight);
    EXPECT_EQ(l.renderX, l.mainX + 250);
    EXPECT_EQ(l.renderY, l.mainY + 46);
    EXPECT_EQ(l.browserX, l.mainX + l.mainWidth - 220);
    EXPECT_EQ(l.browserY, l.mainY + 26);
    EXPECT_EQ(l.browserBottom, l.browserY + 330);
    WindowLayout checked = l;
    validateLayout(checked, kScreen);
    checked.brushShow = l.brushShow;
    EXPECT_EQ(checked, l);
}

TEST(WindowLayout, OffScreenMainWindowComesBackAndToolsFollowIt) {
    WindowLayout l;
    l.mainX = 1500;  // left on a second display that is gone
    l.mainY = 900;
    l.brushX = 1600;
    l.brushY = 1200;
    l.echordX = 1900;
    l.echordY = 1200;
    l.renderX = 2000;
    l.renderY = 950;
    l.browserX = 1800;
    l.browserY = 926;
    l.browserBottom = 1256;
    validateLayout(l, kScreen);
    EXPECT_EQ(l.mainX, 50);
    EXPECT_EQ(l.mainY, 50);
    EXPECT_EQ(l.mainWidth, 540);
    EXPECT_EQ(l.mainHeight, 280);
    EXPECT_EQ(l.browserX, 370);
    EXPECT_EQ(l.browserY, 76);
    EXPECT_EQ(l.browserWidth, 370);
    EXPECT_EQ(l.browserBottom, 406);
    EXPECT_EQ(l.brushX, 50);
    EXPECT_EQ(l.brushY, 330);
    EXPECT_EQ(l.echordX, 80);
    EXPECT_EQ(l.echordY, 345);
    EXPECT_EQ(l.renderX, 330);
    EXPECT_EQ(l.renderY, 130);
}

TEST(WindowLayout, ToolPlacesAreKeptInsideASmallScreen) {
    const ScreenSize small{640, 480};
    WindowLayout l;
    l.mainX = 400;
    l.mainY = 300;
    l.mainWidth = 240;
    l.mainHeight = 180;
    l.brushX = -100;
    l.echordX = -100;
    l.renderX = -100;
    validateLayout(l, small);
    EXPECT_EQ(l.mainX, 400);  // the main window itself fits
    EXPECT_EQ(l.brushX, 400);
    EXPECT_EQ(l.brushY, 380);  // min(300 + 180, 480 - 100)
    EXPECT_EQ(l.echordX, 430);
    EXPECT_EQ(l.echordY, 380);  // min(380 + 15, 380)
    EXPECT_EQ(l.renderX, 460);  // min(680, 640 - 180)
    EXPECT_EQ(l.renderY, 380);
}

TEST(WindowLayout, BrowserIsCheckedByItsHeightNotItsBottomEdge) {
    // A browser in the lower half of the screen: its bottom edge added to its top would leave the
    // screen, its real rectangle does not.
    WindowLayout l;
    l.browserX = 600;
    l.browserY = 400;
    l.browserWidth = 370;
    l.browserBottom = 730;
    validateLayout(l, kScreen);
    EXPECT_EQ(l.browserY, 400);
    EXPECT_EQ(l.browserBottom, 730);
    l.browserBottom = 900;  // really below the screen
    validateLayout(l, kScreen);
    EXPECT_EQ(l.browserY, 76);
    EXPECT_EQ(l.browserBottom, 406);
}

TEST(WindowLayout, ShowStates) {
    WindowLayout l;
    l.mainShow = 0;
    l.browserShow = 11;
    l.renderShow = -1;
    l.echordShow = 6;
    l.brushShow = 0;
    validateLayout(l, kScreen);
    EXPECT_EQ(l.mainShow, 1);
    EXPECT_EQ(l.browserShow, 1);
    EXPECT_EQ(l.renderShow, 1);
    EXPECT_EQ(l.echordShow, 6);
    EXPECT_EQ(l.brushShow, 1);
    l.mainShow = 10;
    l.renderShow = 0;
    validateLayout(l, kScreen);
    EXPECT_EQ(l.mainShow, 10);
    EXPECT_EQ(l.renderShow, 0);
}

TEST(WindowLayout, MainPlacement) {
    WindowLayout l;
    recordMainPlacement(l, MainWindowPlacement{10, 20, 610, 420, 3, false});
    EXPECT_EQ(l.mainX, 10);
    EXPECT_EQ(l.mainY, 20);
    EXPECT_EQ(l.mainWidth, 600);
    EXPECT_EQ(l.mainHeight, 400);
    EXPECT_EQ(l.mainShow, 3);
    recordMainPlacement(l, MainWindowPlacement{10, 20, 610, 420, 2, true});
    EXPECT_EQ(l.mainShow, 5);
}

}  // namespace
}  // namespace lumetra
