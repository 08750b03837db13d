// The colour boiler: heat's wrap, cycle's feeding and the low-8-bit store on single pixels, the
// scratch kept between dabs or not to be had. (Selections and dabs of every patch:
// brush_agreement.)

#include <gtest/gtest.h>

#include <string>

#include "render_rig.h"
#include "tools/paint_dab.h"

namespace lumetra {
namespace {

// A one-pixel white Rect brush: every weight exactly 1, no mask.
BrushTool whiteDot(std::int32_t heat, std::int32_t blur, std::int32_t cycle) {
    BrushSettings s{.width = 1, .height = 1, .colour1 = 0xFFFFFF, .colour2 = 0xFFFFFF};
    s.shape = BrushShape::Rect, s.mix = ColorMix::Boil, s.heat = heat, s.blur = blur,
    s.cycle = cycle;
    BrushTool tool;
    RandomSeed seed;
    std::string message;
    EXPECT_TRUE(buildBrush(tool.brush, s, seed, message));
    return tool;
}

TEST(Boiler, OnePixelUnderFullWeight) {
    struct Case {
        std::int32_t heat, cycle;
        Rgb before, after;
    } cases[] = {
        {0, 0, Rgb{12, 200, 77}, Rgb{12, 200, 77}},
        {50, 0, Rgb{230, 230, 230}, Rgb{25, 25, 25}},   // 280 wraps to 25
        {-50, 0, Rgb{20, 0, 20}, Rgb{225, 0, 225}},     // -30 wraps to 225; 0 is not heated
        {50, 0, Rgb{205, 206, 100}, Rgb{255, 1, 150}},  // 255 stays, 256 wraps
        {0, 100, Rgb{255, 255, 255}, Rgb{50, 55, 61}},  // 306, 311.1, 316.71 cut to 8 bits
        {0, 100, Rgb{100, 50, 0}, Rgb{100, 50, 15}},    // no blue: red and green stay
        {0, 100, Rgb{0, 0, 40}, Rgb{4, 4, 40}},         // only blue: red, green fed by it
    };
    for (const Case& c : cases) {
        BrushTool tool = whiteDot(c.heat, 0, c.cycle);
        CanvasImage image = testing::randomCanvas(3, 3, 1);
        setPixel(image.pixels, 1, 1, c.before);
        RandomSeed seed;
        std::string message;
        ASSERT_TRUE(paintDab(tool, image, seed, 1, 1, message));
        EXPECT_EQ(pixelAt(image.pixels, 1, 1), c.after) << c.heat << " " << c.cycle;
    }
}

TEST(Boiler, TheScratchIsKeptWhileTheSizeStays) {
    BrushTool tool = whiteDot(0, 50, 0);
    CanvasImage image = testing::randomCanvas(12, 8, 2);
    RandomSeed seed;
    std::string message;
    ASSERT_TRUE(paintDab(tool, image, seed, 3, 3, message));
    const std::uint8_t* scratch = tool.boiler.bytes.data();
    ASSERT_TRUE(paintDab(tool, image, seed, 40, 3, message));  // wholly outside: nothing
    ASSERT_TRUE(paintDab(tool, image, seed, 8, 5, message));
    EXPECT_EQ(tool.boiler.bytes.data(), scratch);
    EXPECT_EQ(tool.boiler.bytes.size(), 27u);  // 3 x 3 pixels: the dab and its border
    ASSERT_TRUE(applyColorBoiler(tool, image, message));
    EXPECT_EQ(tool.boiler.bytes.size(), 14u * 10u * 3u);
}

TEST(Boiler, AScratchThatCannotBeHadLeavesThePictureAndSeedAsTheyWere) {
    BrushTool tool = whiteDot(20, 50, 10);
    tool.boiler.byteLimit = 100;
    CanvasImage image = testing::randomCanvas(12, 8, 2);
    RandomSeed seed;
    std::string message;
    ASSERT_TRUE(paintDab(tool, image, seed, 3, 3, message));  // 27 bytes fit
    const CanvasImage before = image;
    EXPECT_FALSE(applyColorBoiler(tool, image, message));
    EXPECT_EQ(message, "Could not create boiler bitmap");
    BrushSettings noisy = tool.brush.settings;
    noisy.width = 20;
    noisy.fade = ColorFade::Noise;
    ASSERT_TRUE(buildBrush(tool.brush, noisy, seed, message));
    const RandomSeed built = seed;
    message.clear();
    EXPECT_FALSE(paintDab(tool, image, seed, 3, 3, message));
    EXPECT_EQ(message, "Could not create boiler bitmap");
    EXPECT_EQ(image.pixels.bytes, before.pixels.bytes);
    EXPECT_EQ(seed.value, built.value);
}

}  // namespace
}  // namespace lumetra
