// The canvas's display arithmetic: decoration bytes, decoration flags and scroll-bar layout.

#include "document/canvas_view.h"

#include <gtest/gtest.h>

#include "bmp_test_files.h"

namespace lumetra {
namespace {

TEST(Decoration, BrightenFollowsTheIntegerFormula) {
    // t = (250 - v) / 3 below 160, else 30; v = min(255, (v + t) * 5 / 4).
    EXPECT_EQ(decorateByte(0, kDecorationBrighten), 103);    // t 83: 83 * 5 / 4
    EXPECT_EQ(decorateByte(1, kDecorationBrighten), 105);    // t 83: 84 * 5 / 4
    EXPECT_EQ(decorateByte(100, kDecorationBrighten), 187);  // t 50: 150 * 5 / 4
    EXPECT_EQ(decorateByte(159, kDecorationBrighten), 236);  // t 30: 189 * 5 / 4
    EXPECT_EQ(decorateByte(160, kDecorationBrighten), 237);  // t 30: 190 * 5 / 4
    EXPECT_EQ(decorateByte(174, kDecorationBrighten), 255);  // 204 * 5 / 4 = 255
    EXPECT_EQ(decorateByte(255, kDecorationBrighten), 255);  // capped
}

TEST(Decoration, InvertComesAfterBrightenAndOutlineLeavesBytesAlone) {
    EXPECT_EQ(decorateByte(0, kDecorationInvert), 255);
    EXPECT_EQ(decorateByte(200, kDecorationInvert), 55);
    EXPECT_EQ(decorateByte(0, kDecorationBrighten | kDecorationInvert), 255 - 103);
    EXPECT_EQ(decorateByte(77, kDecorationOutline), 77);
}

TEST(Decoration, CopyOfAnAreaDecoratesEveryChannel) {
    const PixelImage image = testing::patternPicture(9, 6, 1).pixels;
    const Rect area{2, 1, 7, 5};
    PixelImage copy = decoratedCopy(image, area, kDecorationInvert);
    ASSERT_EQ(copy.width, 5);
    ASSERT_EQ(copy.height, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            Rgb in = pixelAt(image, area.left + x, area.top + y);
            Rgb out = pixelAt(copy, x, y);
            ASSERT_EQ(out, (Rgb{std::uint8_t(255 - in.red), std::uint8_t(255 - in.green),
                                std::uint8_t(255 - in.blue)}));
        }
    }
}

TEST(Decoration, StyleCommandsAndBrighterToggleFlags) {
    // 257 outline only, 258 brighten, 259 inverted; with and without the brighter display.
    EXPECT_EQ(decorationForStyle(0, false), 4);
    EXPECT_EQ(decorationForStyle(0, true), 5);
    EXPECT_EQ(decorationForStyle(1, false), 5);
    EXPECT_EQ(decorationForStyle(1, true), 7);
    EXPECT_EQ(decorationForStyle(2, false), 6);
    EXPECT_EQ(decorationForStyle(2, true), 6);
    // 256: outline only stays 4; a brighter display switches the others to inverting.
    EXPECT_EQ(decorationAfterBrighterToggle(0, true), 4);
    EXPECT_EQ(decorationAfterBrighterToggle(0, false), 4);
    EXPECT_EQ(decorationAfterBrighterToggle(1, true), 6);
    EXPECT_EQ(decorationAfterBrighterToggle(1, false), 5);
    EXPECT_EQ(decorationAfterBrighterToggle(2, true), 6);
    EXPECT_EQ(decorationAfterBrighterToggle(2, false), 6);
}

constexpr int kBar = 17;

TEST(ScrollLayout, APictureThatFitsShowsNoBars) {
    // 300 x 200 in 500 x 400: drawn at (7, 7) with no scroll bars.
    ScrollLayout l = computeScrollLayout(500, 400, 300, 200, kBar, kBar, 40, 40);
    EXPECT_FALSE(l.horizontal.visible);
    EXPECT_FALSE(l.vertical.visible);
    EXPECT_EQ(l.horizontal.position, 0);
    EXPECT_EQ(l.vertical.position, 0);
    // Exactly 10 pixels to spare still fits.
    l = computeScrollLayout(310, 210, 300, 200, kBar, kBar, 0, 0);
    EXPECT_FALSE(l.horizontal.visible);
    EXPECT_FALSE(l.vertical.visible);
}

TEST(ScrollLayout, AWidePictureGetsAHorizontalBarWithPageHalfTheClient) {
    ScrollLayout l = computeScrollLayout(500, 400, 1000, 200, kBar, kBar, 0, 0);
    ASSERT_TRUE(l.horizontal.visible);
    EXPECT_FALSE(l.vertical.visible);  // 400 - 17 still holds 210
    EXPECT_EQ(l.horizontal.page, 250);
    EXPECT_EQ(l.horizontal.maximum, 250 - 500 + 1000 + 14);
    EXPECT_EQ(maxScrollPosition(l.horizontal), 515);
}

TEST(ScrollLayout, OneBarCanPushTheOtherAxisOutOfItsFit) {
    // Tall picture: the vertical bar takes 17 pixels, and 305 + 10 no longer fits in 500 - 17.
    ScrollLayout l = computeScrollLayout(320, 400, 305, 900, kBar, kBar, 0, 0);
    ASSERT_TRUE(l.vertical.visible);
    ASSERT_TRUE(l.horizontal.visible);
    EXPECT_EQ(l.horizontal.page, (320 - kBar) / 2);
    EXPECT_EQ(l.vertical.page, (400 - kBar) / 2);
    EXPECT_EQ(l.vertical.maximum, l.vertical.page - (400 - kBar) + 900 + 14);
}

TEST(ScrollLayout, PositionsAreLimitedToTheScrollRange) {
    ScrollLayout l = computeScrollLayout(500, 400, 1000, 200, kBar, kBar, 9999, 50);
    EXPECT_EQ(l.horizontal.position, maxScrollPosition(l.horizontal));
    EXPECT_EQ(l.vertical.position, 0);
    EXPECT_EQ(clampScrollPosition(l.horizontal, -25), 0);
    EXPECT_EQ(clampScrollPosition(l.horizontal, 100), 100);
    EXPECT_EQ(clampScrollPosition(l.horizontal, 516), 515);
}

}  // namespace
}  // namespace lumetra
