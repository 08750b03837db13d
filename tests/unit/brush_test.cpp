// The brush: the dab's mask, what a brush that cannot get its memory leaves behind; the boiler's
// scratch, kept between dabs or not to be had. (Fades, mixes, Spray's draws, the blue a dab clears,
// the boiler's arithmetic, every patch's dabs and selections: brush_agreement.)

#include <gtest/gtest.h>

#include <string>

#include "render_rig.h"
#include "tools/paint_dab.h"

namespace lumetra {
namespace {

BrushSettings brushOf(std::int32_t width, std::int32_t height, BrushShape shape,
                      ColorFade fade = ColorFade::Right, ColorMix mix = ColorMix::Cover) {
    return {.width = width, .height = height, .shape = shape, .fade = fade, .mix = mix};
}

Brush built(const BrushSettings& settings) {
    Brush brush;
    RandomSeed seed;
    std::string message;
    EXPECT_TRUE(buildBrush(brush, settings, seed, message));
    return brush;
}

// The mask, the k term of one-pixel-wide brushes included. (The colour fades and the mix of every
// patch: brush_agreement.)
TEST(Brush, Mask) {
    struct Case {
        std::int32_t width, height;
        BrushShape shape;
        std::int32_t i, j, mask;
    } cases[] = {
        {1, 40, BrushShape::Round, 0, 20, 174},  // (1 - sqrt(0.1)) x 255 thanks to the k term
        {1, 40, BrushShape::Spray, 0, 20, 255},   {40, 1, BrushShape::Round, 20, 0, 174},
        {1, 1, BrushShape::Round, 0, 0, 0},       {1, 1, BrushShape::Spray, 0, 0, 0},
        {20, 20, BrushShape::Round, 10, 10, 255}, {20, 20, BrushShape::Round, 0, 10, 0},
        {20, 20, BrushShape::Spray, 0, 10, 0},    {20, 20, BrushShape::Spray, 1, 10, 255},
    };
    for (const Case& c : cases) {
        const Brush brush = built(brushOf(c.width, c.height, c.shape));
        EXPECT_EQ(brush.mask[std::size_t(c.j) * c.width + c.i], c.mask)
            << c.width << " x " << c.height << " at " << c.i << ", " << c.j;
    }
    EXPECT_TRUE(built(brushOf(20, 20, BrushShape::Rect)).mask.empty());
}

TEST(Brush, ABrushThatCannotBeHadLeavesBrushPictureAndSeedAsTheyWere) {
    BrushTool tool;
    tool.brush = built(brushOf(20, 20, BrushShape::Round, ColorFade::Noise));
    const Brush kept = tool.brush;
    CanvasImage image = testing::randomCanvas(64, 40, 4);
    const CanvasImage before = image;
    RandomSeed seed;
    std::string message;
    EXPECT_FALSE(buildBrush(tool.brush, brushOf(0, 5, BrushShape::Round), seed, message));
    EXPECT_FALSE(buildBrush(tool.brush, brushOf(50000, 50000, BrushShape::Rect), seed, message));
    tool.brush.byteLimit = 20 * 20 * 4;  // enough for the brush it has, not for the picture's
    EXPECT_FALSE(applyBrushToImage(tool, image, seed, message));
    EXPECT_EQ(message, "Could not create brush bitmap");
    EXPECT_EQ(tool.brush.settings, kept.settings);
    EXPECT_EQ(tool.brush.bitmap.bytes, kept.bitmap.bytes);
    EXPECT_EQ(image.pixels.bytes, before.pixels.bytes);
    EXPECT_EQ(seed.value, RandomSeed{}.value);
}

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
