// The canvas's display arithmetic: decoration bytes, decoration flags and scroll-bar layout.

#include "document/canvas_view.h"

#include <gtest/gtest.h>

#include "bmp_test_files.h"

namespace lumetra {
namespace {

TEST(Decoration, BytesFlagsAndAreaCopies) {
    // Brighten: t = (250 - v) / 3 below 160, else 30; v = min(255, (v + t) * 5 / 4). Invert
    // comes after it; the outline leaves bytes alone.
    constexpr int kBrighten = kDecorationBrighten, kInvert = kDecorationInvert;
    const int bytes[][3] = {{0, kBrighten, 103},         {1, kBrighten, 105},
                            {100, kBrighten, 187},       {159, kBrighten, 236},
                            {160, kBrighten, 237},       {174, kBrighten, 255},
                            {255, kBrighten, 255},       {0, kInvert, 255},
                            {200, kInvert, 55},          {0, kBrighten | kInvert, 255 - 103},
                            {77, kDecorationOutline, 77}};
    for (const auto& [value, flags, expected] : bytes)
        EXPECT_EQ(decorateByte(std::uint8_t(value), flags), expected) << value << ", " << flags;
    // Style 0 outline only, 1 brighten, 2 inverted, with and without the brighter display; the
    // brighter toggle switches all but the outline to inverting.
    const int styles[][4] = {{0, false, 4, 4}, {0, true, 5, 4},  {1, false, 5, 5},
                             {1, true, 7, 6},  {2, false, 6, 6}, {2, true, 6, 6}};
    for (const auto& [style, brighter, forStyle, toggled] : styles) {
        EXPECT_EQ(decorationForStyle(style, brighter), forStyle) << style << ", " << brighter;
        EXPECT_EQ(decorationAfterBrighterToggle(style, brighter), toggled) << style << brighter;
    }
    const PixelImage image = testing::patternPicture(9, 6, 1).pixels;
    const PixelImage copy = decoratedCopy(image, Rect{2, 1, 7, 5}, kDecorationInvert);
    ASSERT_EQ((std::pair{copy.width, copy.height}), (std::pair{5, 4}));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const Rgb in = pixelAt(image, 2 + x, 1 + y);
            ASSERT_EQ(pixelAt(copy, x, y),
                      (Rgb{std::uint8_t(255 - in.red), std::uint8_t(255 - in.green),
                           std::uint8_t(255 - in.blue)}));
        }
}

constexpr int kBar = 17;

TEST(ScrollLayout, BarsPagesAndPositions) {
    // 300 x 200 fits in 500 x 400 with no bars, and so it does with exactly 10 pixels to spare.
    for (const auto& [w, h] : {std::pair{500, 400}, {310, 210}}) {
        const ScrollLayout l = computeScrollLayout(w, h, 300, 200, kBar, kBar, 40, 40);
        EXPECT_FALSE(l.horizontal.visible || l.vertical.visible) << w;
        EXPECT_EQ(l.horizontal.position + l.vertical.position, 0) << w;
    }
    // A wide picture: a horizontal bar whose page is half the client; 400 - 17 still holds 210.
    ScrollLayout l = computeScrollLayout(500, 400, 1000, 200, kBar, kBar, 9999, 50);
    ASSERT_TRUE(l.horizontal.visible);
    EXPECT_FALSE(l.vertical.visible);
    EXPECT_EQ(l.horizontal.page, 250);
    EXPECT_EQ(l.horizontal.maximum, 250 - 500 + 1000 + 14);
    EXPECT_EQ(maxScrollPosition(l.horizontal), 515);
    EXPECT_EQ(l.horizontal.position, 515);
    EXPECT_EQ(l.vertical.position, 0);
    for (const auto& [asked, position] : {std::pair{-25, 0}, {100, 100}, {516, 515}})
        EXPECT_EQ(clampScrollPosition(l.horizontal, asked), position) << asked;
    // Tall: the vertical bar takes 17 pixels, and 305 + 10 no longer fits in 320 - 17.
    l = computeScrollLayout(320, 400, 305, 900, kBar, kBar, 0, 0);
    ASSERT_TRUE(l.vertical.visible && l.horizontal.visible);
    EXPECT_EQ(l.horizontal.page, (320 - kBar) / 2);
    EXPECT_EQ(l.vertical.page, (400 - kBar) / 2);
    EXPECT_EQ(l.vertical.maximum, l.vertical.page - (400 - kBar) + 900 + 14);
}

}  // namespace
}  // namespace lumetra
