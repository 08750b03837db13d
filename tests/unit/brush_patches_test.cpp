// Brush patches: the stored record's layout, recall and store with their Boil-only and Spray-only
// fields, the records a stored block may bring in, and the slot buttons.

#include <gtest/gtest.h>

#include <vector>

#include "tools/brush_patches.h"

namespace lumetra {
namespace {

TEST(BrushPatches, B6IsStoredLittleEndianWithItsShiftBeyondTheSlider) {
    const BrushPatchBlock block = builtInBrushPatches();
    // Width 50, height 35, both colours white, flags Boil | Right | Round, density 0, six reserved
    // bytes, heat 2, blur 30, cycle 0, shift -100.
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
    // Stored: the density whatever the shape, boiler fields only for Boil (and only their low 16
    // bits), the reserved bytes as they were.
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
    EXPECT_EQ(recallBrushPatch(block, 3, current).height, 4096);
    BrushSettings boil = cover;
    boil.mix = ColorMix::Boil;
    boil.shift = 70000;
    storeBrushPatch(block, 15, boil);
    EXPECT_EQ(readBrushPatch(block, 15).shift, 70000 - 65536);
    EXPECT_EQ(recallBrushPatch(block, 15, current).blur, 9);
}

TEST(BrushPatches, OnlyRecordsOfAKnownKindAndASaneSizeAreTaken) {
    struct Case {
        std::int32_t width, height;
        std::uint32_t flags;
        bool taken;
    } cases[] = {
        {1, 1, 0x111, true},      {4096, 4096, 0x844, true}, {20, 20, 0xF8A2, true},
        {0, 20, 0x111, false},    {20, 0, 0x111, false},     {-20, 20, 0x111, false},
        {4097, 20, 0x111, false}, {20, 4097, 0x111, false},  {20, 20, 0x113, false},
        {20, 20, 0x131, false},   {20, 20, 0x311, false},    {20, 20, 0, false},
    };
    const BrushPatchBlock builtIn = builtInBrushPatches();
    BrushPatchBlock stored{};  // what an old build wrote: all zero
    for (std::size_t slot = 0; slot < std::size(cases); ++slot) {
        const Case& c = cases[slot];
        writeBrushPatch(
            stored, slot,
            {.width = c.width, .height = c.height, .colour1 = 0x123456, .flags = c.flags});
    }
    BrushPatchBlock live = builtIn;
    takeStoredBrushPatches(live, stored.bytes);
    for (std::size_t slot = 0; slot < kBrushPatchCount; ++slot) {
        const bool taken = slot < std::size(cases) && cases[slot].taken;
        EXPECT_EQ(readBrushPatch(live, slot), readBrushPatch(taken ? stored : builtIn, slot))
            << "slot " << slot;
    }
}

TEST(BrushPatches, ABankShowsTheCurrentSlotOnlyWhenItHoldsIt) {
    EXPECT_EQ(brushSlotIndex(true, 2), 10u);  // B3
    EXPECT_EQ(markedBrushSlotButton(10, true), 2u);
    EXPECT_EQ(markedBrushSlotButton(10, false), std::nullopt);
    EXPECT_EQ(markedBrushSlotButton(7, false), 7u);
}

}  // namespace
}  // namespace lumetra
