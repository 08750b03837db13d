// The Brush Tools dialog's rules: the colour picture, picking from it, the size drag and its fade
// switch, the boiler readout and the preview's dab.

#include <gtest/gtest.h>

#include <string>

#include "tools/brush_dialog_rules.h"
#include "tools/brush_palette.h"

namespace lumetra {
namespace {

TEST(BrushDialog, PaletteColours) {
    struct Case {
        std::int32_t x, y;
        std::uint32_t colour;
    } cases[] = {
        {0, 0, 0x0000FF},    {127, 0, 0x00FEFF}, {128, 0, 0x00FFFE},
        {255, 0, 0x00FF00},  {64, 31, 0x000407},  // band row 1: red 255 / 32, green 2 x 64 / 32
        {200, 16, 0x007F37},                      // k = 16: green 127, red (254 - 2 x 72) x 16 / 32
        {10, 32, 0x0000FF},  {77, 33, 0x4D4D4D}, {77, 42, 0x4D4D4D},
        {5, 43, 0x00FF00},   {0, 44, 0xFF0000},  {255, 53, 0x000000},
    };
    std::string message;
    const std::optional<PixelImage> palette = makeBrushPalette(message);
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->width, 256);
    EXPECT_EQ(palette->height, 54);
    for (const Case& c : cases) {
        EXPECT_EQ(brushPaletteColour(c.x, c.y), c.colour) << c.x << ", " << c.y;
        const Rgb p = pixelAt(*palette, c.x, c.y);
        EXPECT_EQ(colourWord(p.red, p.green, p.blue), c.colour) << c.x << ", " << c.y;
    }
}

TEST(BrushDialog, PicksReplaceOrAddToTheColourAtThePress) {
    struct Case {
        std::uint32_t picked;
        bool shift;
        std::uint32_t result;
    } cases[] = {
        {0x800000, false, 0x902030}, {0x800000, true, 0x800000},  // blue ramp: adds
        {0x404040, false, 0x404040}, {0x404040, true, 0x506070},  // grey: replaces
        {0x00FEFF, false, 0x00FEFF}, {0x00FEFF, true, 0x10FFFF},  // hue: capped at 255
        {0xF00000, false, 0xFF2030},
    };
    const PickBase base{0x102030, 0x000001};
    for (const Case& c : cases) {
        BrushSettings left, right;
        pickColour(left, base, c.picked, true, c.shift);
        pickColour(right, base, c.picked, false, c.shift);
        EXPECT_EQ(left.colour1, c.result) << std::hex << c.picked;
        EXPECT_EQ(left.colour2, BrushSettings{}.colour2);
        EXPECT_EQ(right.colour2, pickedColour(0x000001, c.picked, c.shift));
        EXPECT_EQ(right.colour1, BrushSettings{}.colour1);
    }
}

TEST(BrushDialog, SizeDragAndTheFadeItLeaves) {
    const PreviewArea area{50, 40, 80, 60};
    EXPECT_EQ(sizeFromDrag(area, 70, 43), (BrushSize{40, 6}));
    EXPECT_EQ(sizeFromDrag(area, 50, 40), (BrushSize{1, 1}));
    EXPECT_EQ(sizeFromDrag(area, 0, 0), (BrushSize{80, 60}));
    EXPECT_EQ(sizeFromDrag(area, 49, 41), (BrushSize{2, 2}));
    struct Case {
        std::int32_t width, height;
        ColorFade before, after;
    } cases[] = {
        {40, 3, ColorFade::Down, ColorFade::Right},  {3, 40, ColorFade::Right, ColorFade::Down},
        {5, 30, ColorFade::Down, ColorFade::Down},   {40, 3, ColorFade::Noise, ColorFade::Noise},
        {3, 40, ColorFade::Noise, ColorFade::Noise}, {40, 3, ColorFade::Right, ColorFade::Right},
        {35, 6, ColorFade::Down, ColorFade::Right},  {34, 6, ColorFade::Down, ColorFade::Down},
        {70, 7, ColorFade::Down, ColorFade::Down},   {6, 35, ColorFade::Right, ColorFade::Down},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fadeAfterSizeDrag(c.width, c.height, c.before), c.after)
            << c.width << " x " << c.height;
}

TEST(BrushDialog, ReadoutShowsTheShiftAsTwiceItsValue) {
    BrushSettings s;
    s.heat = 2;
    s.blur = 30;
    s.shift = -100;
    EXPECT_EQ(boilerReadout(s), " Heat:   2     Blr:  30%\n Cycle:  0     Sh:-200%");
}

TEST(BrushDialog, PreviewIsTheDabOnBlack) {
    for (const ColorMix mix : {ColorMix::Cover, ColorMix::Add, ColorMix::Filter}) {
        Brush brush;
        RandomSeed seed;
        std::string message;
        BrushSettings s;  // 20 x 20 Round
        s.mix = mix;
        ASSERT_TRUE(buildBrush(brush, s, seed, message));
        EXPECT_EQ(previewKind(s), PreviewKind::Ellipse);
        const std::optional<PixelImage> dab = previewDab(brush, seed);
        ASSERT_TRUE(dab);
        // At the centre the mask is 255: Cover and Add (its brush counted twice, then halved)
        // show the brush; Filter of black is black. Outside the ellipse: black.
        const Rgb centre = mix == ColorMix::Filter ? Rgb{} : pixelAt(brush.bitmap, 10, 9);
        EXPECT_EQ(pixelAt(*dab, 10, 9), centre);
        EXPECT_EQ(pixelAt(*dab, 0, 0), Rgb{});
    }
    BrushSettings s;
    s.shape = BrushShape::Rect;
    EXPECT_EQ(previewKind(s), PreviewKind::Rectangle);
    s.height = 1;
    EXPECT_EQ(previewKind(s), PreviewKind::Line);
}

}  // namespace
}  // namespace lumetra
