// The Brush Tools dialog's rules: the colour picture, picking from it, the size drag and its fade
// switch, the boiler readout and the preview's dab.

#include <gtest/gtest.h>

#include <string>

#include "tools/brush_dialog_rules.h"
#include "tools/brush_palette.h"

namespace lumetra {
namespace {

TEST(BrushDialog, PaletteColours) {
    const std::tuple<std::int32_t, std::int32_t, std::uint32_t> cases[] = {
        {0, 0, 0x0000FF},    {127, 0, 0x00FEFF}, {128, 0, 0x00FFFE},
        {255, 0, 0x00FF00},  {64, 31, 0x000407},  // band row 1: red 255 / 32, green 2 x 64 / 32
        {200, 16, 0x007F37},                      // k = 16: green 127, red (254 - 2 x 72) x 16 / 32
        {10, 32, 0x0000FF},  {77, 33, 0x4D4D4D}, {77, 42, 0x4D4D4D},
        {5, 43, 0x00FF00},   {0, 44, 0xFF0000},  {255, 53, 0x000000},
    };
    std::string message;
    const std::optional<PixelImage> palette = makeBrushPalette(message);
    ASSERT_TRUE(palette);
    EXPECT_EQ(std::pair(palette->width, palette->height), std::pair(256, 54));
    for (const auto& [x, y, colour] : cases) {
        EXPECT_EQ(brushPaletteColour(x, y), colour) << x << ", " << y;
        const Rgb p = pixelAt(*palette, x, y);
        EXPECT_EQ(colourWord(p.red, p.green, p.blue), colour) << x << ", " << y;
    }
}

TEST(BrushDialog, PicksReplaceOrAddToTheColourAtThePress) {
    const std::tuple<std::uint32_t, bool, std::uint32_t> cases[] = {
        {0x800000, false, 0x902030}, {0x800000, true, 0x800000},  // blue ramp: adds
        {0x404040, false, 0x404040}, {0x404040, true, 0x506070},  // grey: replaces
        {0x00FEFF, false, 0x00FEFF}, {0x00FEFF, true, 0x10FFFF},  // hue: capped at 255
        {0xF00000, false, 0xFF2030},
    };
    const PickBase base{0x102030, 0x000001};
    for (const auto& [picked, shift, result] : cases) {
        BrushSettings left, right;
        pickColour(left, base, picked, true, shift);
        pickColour(right, base, picked, false, shift);
        EXPECT_EQ(std::pair(left.colour1, left.colour2), std::pair(result, BrushSettings{}.colour2))
            << std::hex << picked;
        EXPECT_EQ(std::pair(right.colour1, right.colour2),
                  std::pair(BrushSettings{}.colour1, pickedColour(0x000001, picked, shift)));
    }
}

TEST(BrushDialog, SizeDragAndTheFadeItLeaves) {
    const PreviewArea area{50, 40, 80, 60};
    EXPECT_EQ(sizeFromDrag(area, 70, 43), (BrushSize{40, 6}));
    EXPECT_EQ(sizeFromDrag(area, 50, 40), (BrushSize{1, 1}));
    EXPECT_EQ(sizeFromDrag(area, 0, 0), (BrushSize{80, 60}));
    EXPECT_EQ(sizeFromDrag(area, 49, 41), (BrushSize{2, 2}));
    using enum ColorFade;
    const std::tuple<std::int32_t, std::int32_t, ColorFade, ColorFade> cases[] = {
        {40, 3, Down, Right},  {3, 40, Right, Down},  {5, 30, Down, Down},
        {40, 3, Noise, Noise}, {40, 3, Right, Right}, {35, 6, Down, Right},
        {34, 6, Down, Down},   {70, 7, Down, Down},   {6, 35, Right, Down}};
    for (const auto& [width, height, before, after] : cases)
        EXPECT_EQ(fadeAfterSizeDrag(width, height, before), after) << width << " x " << height;
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
        EXPECT_EQ(pixelAt(*dab, 10, 9),
                  mix == ColorMix::Filter ? Rgb{} : pixelAt(brush.bitmap, 10, 9));
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
