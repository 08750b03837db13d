// The brush: the dab's mask and colour fades, the mix of one channel, the dab on the picture, and
// what a brush that cannot get its memory leaves behind. (Spray's draws and every patch's dabs:
// brush_agreement.)

#include <gtest/gtest.h>

#include <string>

#include "render_rig.h"
#include "tools/brush_mix.h"
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

TEST(Brush, MaskAndColourFades) {
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
    // Right runs from colour1 (red) and Down from colour2 (green) at the bottom row, without
    // reaching the other. Picture rows count from the top.
    const PixelImage right = built(brushOf(10, 3, BrushShape::Rect, ColorFade::Right)).bitmap;
    const PixelImage down = built(brushOf(3, 10, BrushShape::Rect, ColorFade::Down)).bitmap;
    for (std::int32_t k = 0; k < 3; ++k) {
        EXPECT_EQ(pixelAt(right, 0, k), (Rgb{255, 0, 0}));
        EXPECT_EQ(pixelAt(right, 9, k), (Rgb{25, 229, 0}));
        EXPECT_EQ(pixelAt(down, k, 9), (Rgb{0, 255, 0}));
        EXPECT_EQ(pixelAt(down, k, 0), (Rgb{229, 25, 0}));
    }
}

TEST(Brush, MixOfOneChannel) {
    struct Case {
        ColorMix mix;
        BrushShape shape;
        std::int32_t b, c, m, landed;
    } cases[] = {
        {ColorMix::Cover, BrushShape::Rect, 200, 50, 0, 200},
        {ColorMix::Boil, BrushShape::Rect, 200, 50, 0, 200},
        {ColorMix::Add, BrushShape::Rect, 200, 50, 0, 150},
        {ColorMix::Add, BrushShape::Rect, 200, 200, 0, 255},     // clamped
        {ColorMix::Filter, BrushShape::Rect, 128, 100, 0, 99},   // 100 x (0.666 + 128 / 384)
        {ColorMix::Filter, BrushShape::Rect, 255, 90, 0, 119},   // 90 x 1.3300625
        {ColorMix::Filter, BrushShape::Rect, 255, 255, 0, 255},  // 339 clamped
        {ColorMix::Filter, BrushShape::Rect, 255, 0, 0, 0},
        {ColorMix::Cover, BrushShape::Round, 200, 100, 255, 200},
        {ColorMix::Cover, BrushShape::Round, 200, 100, 128, 150},
        {ColorMix::Add, BrushShape::Round, 255, 255, 0, 255},
    };
    for (const Case& c : cases) {
        BrushSettings s = brushOf(1, 1, c.shape, ColorFade::Right, c.mix);
        RandomSeed seed;
        EXPECT_EQ(std::int32_t(mixChannel(s, c.b, c.c, c.m, seed)), c.landed)
            << std::uint32_t(c.mix) << " " << c.b << " on " << c.c << " by " << c.m;
    }
}

TEST(Brush, WhereGreenAndRedEndAtZeroBlueGoesToo) {
    struct Case {
        BrushShape shape;
        Rgb canvas, painted;
    } cases[] = {
        {BrushShape::Rect, Rgb{90, 80, 70}, Rgb{0, 0, 0}},  // the brush's blue is not kept
        {BrushShape::Round, Rgb{0, 0, 70}, Rgb{0, 0, 0}},   // the dab's centre: mask 182
        // Green 73 / 255 is stored as 0 but was not 0: blue (73 x 70 + 182 x 200) / 255 stays.
        {BrushShape::Round, Rgb{0, 1, 70}, Rgb{0, 0, 162}},
    };
    for (const Case& c : cases) {
        BrushSettings s = brushOf(5, 5, c.shape);
        s.colour1 = s.colour2 = 0xC80000;  // blue 200 alone
        BrushTool tool;
        tool.brush = built(s);
        CanvasImage image = testing::randomCanvas(5, 5, 1);
        setPixel(image.pixels, 2, 2, c.canvas);
        RandomSeed seed;
        std::string message;
        ASSERT_TRUE(paintDab(tool, image, seed, 2, 2, message));
        EXPECT_EQ(pixelAt(image.pixels, 2, 2), c.painted) << int(c.canvas.green);
    }
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

}  // namespace
}  // namespace lumetra
