// The Brush Tools dialog's rules and its patches: stored record, recall and store, stored blocks.
#include <gtest/gtest.h>

#include "tools/brush_dialog_rules.h"
#include "tools/brush_palette.h"
#include "tools/brush_patches.h"

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

TEST(BrushDialog, SizeDragTheFadeItLeavesAndTheReadoutWithTheShiftAsTwiceItsValue) {
    const PreviewArea area{50, 40, 80, 60};
    for (const auto& [x, y, size] : {std::tuple{70, 43, BrushSize{40, 6}},
                                     {50, 40, BrushSize{1, 1}},
                                     {0, 0, BrushSize{80, 60}},
                                     {49, 41, BrushSize{2, 2}}})
        EXPECT_EQ(sizeFromDrag(area, x, y), size) << x << ", " << y;
    using enum ColorFade;
    const std::tuple<std::int32_t, std::int32_t, ColorFade, ColorFade> cases[] = {
        {40, 3, Noise, Noise}, {40, 3, Right, Right}, {35, 6, Down, Right},
        {34, 6, Down, Down},   {70, 7, Down, Down},   {6, 35, Right, Down}};
    for (const auto& [width, height, before, after] : cases)
        EXPECT_EQ(fadeAfterSizeDrag(width, height, before), after) << width << " x " << height;
    EXPECT_EQ(boilerReadout({.heat = 2, .blur = 30, .shift = -100}),
              " Heat:   2     Blr:  30%\n Cycle:  0     Sh:-200%");
}

TEST(BrushPatches, B6IsStoredLittleEndianWithItsShiftBeyondTheSlider) {
    const BrushPatchBlock block = builtInBrushPatches();
    // 50 x 35, white, white, Boil | Right | Round, density 0, 6 reserved, 2, 30, 0, shift -100.
    const std::vector<std::uint8_t> expected = {
        50, 0, 0, 0, 35, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0, 0x22, 0x08,
        0,  0, 0, 0, 0,  0, 0, 0, 0,    0,    2,    0, 30,   0,    0,    0, 0x9C, 0xFF};
    EXPECT_EQ(std::vector(block.bytes.begin() + 13 * 36, block.bytes.begin() + 14 * 36), expected);
    // The brush starts as slot A1: 20 x 20, red to green, Round, Right, Cover, density 40.
    EXPECT_EQ(initialBrushSettings(block), BrushSettings{});
    EXPECT_EQ(brushPatchFlags(BrushSettings{}), 0x122u);
}

TEST(BrushPatches, RecallAndStoreTakeSprayAndBoilFieldsOnlyForThem) {
    BrushPatchBlock block = builtInBrushPatches();
    BrushSettings current;
    current.sprayDensity = 12;
    current.heat = current.blur = current.cycle = current.shift = 7;
    const BrushSettings a2 = recallBrushPatch(block, brushSlotIndex(false, 1), current);
    EXPECT_EQ(std::tuple(a2.shape, a2.sprayDensity, a2.sprayThreshold, a2.heat),
              std::tuple(BrushShape::Spray, 40, 2800u, 7));
    const BrushSettings b6 = recallBrushPatch(block, brushSlotIndex(true, 5), current);
    EXPECT_EQ(std::tuple(b6.width, b6.height, b6.colour1, b6.mix, b6.sprayDensity),
              std::tuple(50, 35, 0xFFFFFFu, ColorMix::Boil, 12));
    EXPECT_EQ((std::array{b6.heat, b6.blur, b6.cycle, b6.shift}), (std::array{2, 30, 0, -100}));
    // Stored: the density always, boiler fields for Boil only (low 16 bits), reserved bytes kept.
    block.bytes[3 * 36 + 22] = 0xAB;  // a reserved byte of slot A4
    BrushSettings cover{.width = 33, .height = 4096, .fade = ColorFade::Down, .sprayDensity = -2};
    cover.heat = cover.blur = cover.cycle = cover.shift = 9;
    storeBrushPatch(block, 3, cover);
    const BrushPatch stored = readBrushPatch(block, 3);
    EXPECT_EQ(std::tuple(stored.flags, stored.density, stored.reserved[0]),
              std::tuple(0x142u, -2, 0xAB));
    EXPECT_EQ((std::array{stored.heat, stored.blur, stored.cycle, stored.shift}),
              (std::array<std::int16_t, 4>{}));
    current.heat = -5;
    EXPECT_EQ(recallBrushPatch(block, 3, current).heat, -5);
    BrushSettings boil = cover;
    std::tie(boil.mix, boil.shift) = std::tuple(ColorMix::Boil, 70000);
    storeBrushPatch(block, 15, boil);
    EXPECT_EQ(std::pair(readBrushPatch(block, 15).shift, recallBrushPatch(block, 15, current).blur),
              std::pair(std::int16_t(70000 - 65536), 9));
}

TEST(BrushPatches, OnlyRecordsOfAKnownKindAndASaneSizeAreTakenAndABankMarksOnlyItsSlot) {
    const std::tuple<std::int32_t, std::int32_t, std::uint32_t, bool> cases[] = {
        {1, 1, 0x111, true},      {4096, 4096, 0x844, true}, {20, 20, 0xF8A2, true},
        {0, 20, 0x111, false},    {20, 0, 0x111, false},     {-20, 20, 0x111, false},
        {4097, 20, 0x111, false}, {20, 4097, 0x111, false},  {20, 20, 0x113, false},
        {20, 20, 0x131, false},   {20, 20, 0x311, false},    {20, 20, 0, false},
    };
    const BrushPatchBlock builtIn = builtInBrushPatches();
    BrushPatchBlock stored{};  // what an old build wrote: all zero
    for (std::size_t slot = 0; slot < std::size(cases); ++slot) {
        const auto& [width, height, flags, taken] = cases[slot];
        writeBrushPatch(stored, slot,
                        {.width = width, .height = height, .colour1 = 0x123456, .flags = flags});
    }
    BrushPatchBlock live = builtIn;
    takeStoredBrushPatches(live, stored.bytes);
    for (std::size_t slot = 0; slot < kBrushPatchCount; ++slot) {
        const bool taken = slot < std::size(cases) && std::get<3>(cases[slot]);
        EXPECT_EQ(readBrushPatch(live, slot), readBrushPatch(taken ? stored : builtIn, slot))
            << "slot " << slot;
    }
    EXPECT_EQ(brushSlotIndex(true, 2), 10u);  // B3
    EXPECT_EQ(std::tuple(markedBrushSlotButton(10, true), markedBrushSlotButton(10, false),
                         markedBrushSlotButton(7, false)),
              std::tuple(2u, std::nullopt, 7u));
}

}  // namespace
}  // namespace lumetra
