// Filters and overlays: the per-channel arithmetic, flips, the commands' choices, the failure
// texts, and agreement with the plain reference.

#include "imageops/composite.h"

#include <gtest/gtest.h>

#include <string>

#include "imageops_reference.h"

namespace lumetra {
namespace {

using testing::kPaddingMark;
using testing::randomPicture;

PixelImage flat(std::int32_t width, std::int32_t height, Rgb colour) {
    PixelImage picture = randomPicture(width, height, 0);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            setPixel(picture, x, y, colour);
    return picture;
}

CanvasImage flatImage(std::int32_t width, std::int32_t height, Rgb colour) {
    CanvasImage image;
    adoptPixels(image, flat(width, height, colour));
    return image;
}

CompositeOptions options(CompositeKind kind, ChannelPercentages percent = {}) {
    CompositeOptions o;
    o.kind = kind;
    o.percent = percent;
    return o;
}

struct PixelCase {
    const char* name;
    CompositeKind kind;
    ChannelPercentages percent;
    Rgb current, other, expected;
};

TEST(Composite, PerChannelArithmetic) {
    using enum CompositeKind;
    const PixelCase cases[] = {
        {"filter 128 over 200",
         Filter,
         {100, 50, 0},
         {200, 200, 200},
         {128, 128, 128},
         {100, 150, 200}},
        {"white filter", Filter, {100, 100, 100}, {1, 77, 254}, {255, 255, 255}, {1, 77, 254}},
        {"black filter", Filter, {100, 100, 100}, {1, 77, 254}, {0, 0, 0}, {0, 0, 0}},
        {"filter at 0 %", Filter, {0, 0, 0}, {1, 77, 254}, {9, 0, 200}, {1, 77, 254}},
        {"q rounds at 127.5", Filter, {100, 100, 100}, {1, 3, 1}, {126, 85, 127}, {0, 1, 1}},
        {"white added",
         AdditiveOverlay,
         {100, 100, 100},
         {1, 77, 254},
         {255, 255, 255},
         {255, 255, 255}},
        {"added at 0 %", AdditiveOverlay, {0, 0, 0}, {1, 77, 254}, {255, 255, 255}, {1, 77, 254}},
        {"added in part", AdditiveOverlay, {50, 33, 1}, {10, 10, 10}, {99, 100, 255}, {59, 43, 12}},
        {"OR", OrOverlay, {0, 0, 0}, {0x0F, 0x30, 0}, {0xF0, 0x03, 0}, {0xFF, 0x33, 0}},
        {"black OR", OrOverlay, {100, 100, 100}, {5, 6, 7}, {0, 0, 0}, {5, 6, 7}},
    };
    for (const PixelCase& c : cases) {
        CanvasImage image = flatImage(3, 2, c.current);
        const CompositeResult result =
            compositeImage(image, flat(5, 4, c.other), options(c.kind, c.percent));
        EXPECT_TRUE(result.ok) << c.name;
        EXPECT_EQ(pixelAt(image.pixels, 2, 1), c.expected) << c.name;
    }
}

// A filter picture whose left column is black and right column white, over a grey region.
TEST(Composite, FlipsTurnTheOtherPictureBeforeItIsStretched) {
    PixelImage other = flat(2, 2, Rgb{255, 255, 255});
    setPixel(other, 0, 0, Rgb{});
    setPixel(other, 0, 1, Rgb{});  // left column black
    setPixel(other, 1, 1, Rgb{});  // bottom right black: only the top right is white
    struct FlipCase {
        bool mirror, turn;
        std::int32_t whiteX, whiteY;
    };
    for (const FlipCase c : {FlipCase{false, false, 1, 0}, FlipCase{true, false, 0, 0},
                             FlipCase{false, true, 1, 1}, FlipCase{true, true, 0, 1}}) {
        CanvasImage image = flatImage(2, 2, Rgb{90, 90, 90});
        CompositeOptions o = options(CompositeKind::Filter);
        o.mirrorLeftRight = c.mirror;
        o.turnUpsideDown = c.turn;
        ASSERT_TRUE(compositeImage(image, other, o).ok);
        for (std::int32_t y = 0; y < 2; ++y)
            for (std::int32_t x = 0; x < 2; ++x) {
                const bool white = x == c.whiteX && y == c.whiteY;
                EXPECT_EQ(pixelAt(image.pixels, x, y).red, white ? 90 : 0)
                    << c.mirror << c.turn << " at " << x << ", " << y;
            }
    }
}

TEST(Composite, OnlyTheRegionChanges) {
    CanvasImage image = flatImage(6, 5, Rgb{100, 100, 100});
    image.selection = Rect{1, 2, 4, 5};
    ASSERT_TRUE(compositeImage(image, flat(2, 2, Rgb{}), options(CompositeKind::Filter)).ok);
    for (std::int32_t y = 0; y < 5; ++y) {
        for (std::int32_t x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 2;
            EXPECT_EQ(pixelAt(image.pixels, x, y).green, inside ? 0 : 100) << x << ", " << y;
        }
        EXPECT_EQ(image.pixels.pictureRow(y)[18], kPaddingMark);
    }
}

TEST(Composite, CommandsChooseTheCombination) {
    using enum CompositeKind;
    BrowserChoices browser;
    browser.mirrorLeftRight = true;
    browser.turnUpsideDown = true;
    browser.percent = ChannelPercentages{10, 20, 30};
    struct CommandCase {
        int command;
        CompositeKind kind;
        bool fromBrowser;
    };
    for (const CommandCase c :
         {CommandCase{208, Filter, true}, CommandCase{209, Filter, false},
          CommandCase{210, AdditiveOverlay, true}, CommandCase{211, OrOverlay, true},
          CommandCase{212, OrOverlay, true}}) {
        const CompositeOptions o = compositeOptionsForCommand(c.command, browser);
        EXPECT_EQ(o.kind, c.kind) << c.command;
        EXPECT_EQ(o.mirrorLeftRight, c.fromBrowser) << c.command;
        EXPECT_EQ(o.turnUpsideDown, c.fromBrowser) << c.command;
        EXPECT_EQ(o.percent, c.fromBrowser ? browser.percent : ChannelPercentages{}) << c.command;
    }
    // Without the browser window its flags are off and its sliders at 0.
    EXPECT_EQ(compositeOptionsForCommand(208, BrowserChoices{}).percent,
              (ChannelPercentages{0, 0, 0}));
}

TEST(Composite, FailuresNameTheirCauseAndChangeNothing) {
    using enum CompositeKind;
    PixelImage malformed = flat(3, 3, Rgb{1, 2, 3});
    malformed.stride = 8;
    struct FailureCase {
        const char* name;
        CompositeKind kind;
        PixelImage other;
        Rect selection;
        std::string_view text;
    };
    const FailureCase cases[] = {
        {"empty picture", Filter, PixelImage{}, Rect{}, kFilterPictureUnusableText},
        {"malformed picture", OrOverlay, malformed, Rect{}, kFilterPictureUnusableText},
        {"no region to filter", Filter, flat(2, 2, {}), Rect{9, 9, 12, 12},
         kStretchedFilterFailedText},
        {"no region to add to", AdditiveOverlay, flat(2, 2, {}), Rect{9, 9, 12, 12},
         kStretchedFilterFailedText},
        {"no region to OR", OrOverlay, flat(2, 2, {}), Rect{9, 9, 12, 12},
         kOverlayStretchFailedText},
    };
    for (const FailureCase& c : cases) {
        CanvasImage image = flatImage(4, 4, Rgb{7, 7, 7});
        image.selection = c.selection;
        const CanvasImage before = image;
        const CompositeResult result = compositeImage(image, c.other, options(c.kind));
        EXPECT_FALSE(result.ok) << c.name;
        EXPECT_EQ(result.message, c.text) << c.name;
        EXPECT_EQ(image.pixels.bytes, before.pixels.bytes) << c.name;
    }
    EXPECT_EQ(kCompositeCaption, "Error in filter operation");
}

TEST(Composite, AgreesWithTheReferenceBitForBit) {
    using enum CompositeKind;
    const Rect selections[] = {Rect{}, Rect{0, 0, 1, 1}, Rect{20, 0, 31, 9}, Rect{0, 8, 31, 9},
                               Rect{4, 2, 19, 7}};
    const ChannelPercentages percents[] = {{100, 100, 100}, {37, 0, 81}};
    std::uint32_t seed = 300;
    for (const CompositeKind kind : {Filter, AdditiveOverlay, OrOverlay}) {
        for (const Rect& selection : selections) {
            for (const ChannelPercentages& percent : percents) {
                for (const int flips : {0, 1, 2, 3}) {
                    CanvasImage fast;
                    adoptPixels(fast, randomPicture(31, 9, ++seed));
                    fast.selection = selection;
                    CanvasImage plain = fast;
                    const PixelImage other = randomPicture(7 + flips, 5, ++seed);
                    CompositeOptions o = options(kind, percent);
                    o.mirrorLeftRight = (flips & 1) != 0;
                    o.turnUpsideDown = (flips & 2) != 0;
                    ASSERT_TRUE(compositeImage(fast, other, o).ok);
                    ASSERT_TRUE(testing::referenceComposite(plain, other, o));
                    ASSERT_EQ(fast.pixels.bytes, plain.pixels.bytes)
                        << "kind " << int(kind) << ", flips " << flips << ", selection "
                        << selection.left << "," << selection.top;
                }
            }
        }
    }
}

}  // namespace
}  // namespace lumetra
