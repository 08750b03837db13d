// Brush patches: the stored record's layout, recall and store with their Boil-only and Spray-only
// fields, the records a stored block may bring in, and the slot buttons.

#include <gtest/gtest.h>

#include <vector>

#include "tools/brush_patches.h"

namespace lumetra {
namespace {

TEST(BrushPatches, B6IsStoredLittleEndianWithItsShiftBeyondTheSlider) {
    const BrushPatchBlock block = builtInBrushPatches();
    const std::vector<std::uint8_t> record(block.bytes.begin() + 13 * 36,
                                           block.bytes.begin() + 14 * 36);
    const std::vector<std::uint8_t> expected = {
        50,   0,    0,    0,           // width
        35,   0,    0,    0,           // height
        0xFF, 0xFF, 0xFF, 0,           // colour1
        0xFF, 0xFF, 0xFF, 0,           // colour2
        0x22, 0x08, 0,    0,           // flags: Boil | Right | Round
        0,    0,                       // density
        0,    0,    0,    0,    0, 0,  // reserved
        2,    0,    30,   0,           // heat, blur
        0,    0,    0x9C, 0xFF,        // cycle, shift -100
    };
    EXPECT_EQ(record, expected);
}

TEST(BrushPatches, RecallTakesSprayAndBoilFieldsOnlyForThem) {
    const BrushPatchBlock block = builtInBrushPatches();
    BrushSettings current;
    current.sprayDensity = 12;
    current.heat = current.blur = current.cycle = current.shift = 7;
    const BrushSettings a2 = recallBrushPatch(block, brushSlotIndex(false, 1), current);
    EXPECT_EQ(a2.shape, BrushShape::Spray);
    EXPECT_EQ(a2.sprayDensity, 40);
    EXPECT_EQ(a2.sprayThreshold, 2800u);
    EXPECT_EQ(a2.heat, 7);
    const BrushSettings b6 = recallBrushPatch(block, brushSlotIndex(true, 5), current);
    EXPECT_EQ(b6.width, 50);
    EXPECT_EQ(b6.height, 35);
    EXPECT_EQ(b6.colour1, 0xFFFFFFu);
    EXPECT_EQ(b6.mix, ColorMix::Boil);
    EXPECT_EQ(b6.sprayDensity, 12);
    EXPECT_EQ((std::array{b6.heat, b6.blur, b6.cycle, b6.shift}), (std::array{2, 30, 0, -100}));
}

TEST(BrushPatches, StoreKeepsBoilerFieldsOnlyForBoilAndTheReservedBytesAlways) {
    BrushPatchBlock block = builtInBrushPatches();
    block.bytes[3 * 36 + 22] = 0xAB;  // a reserved byte of slot A4
    BrushSettings cover;
    cover.width = 33;
    cover.height = 4096;
    cover.fade = ColorFade::Down;
    cover.sprayDensity = -2;  // stored whatever the shape
    cover.heat = cover.blur = cover.cycle = cover.shift = 9;
    storeBrushPatch(block, 3, cover);
    const BrushPatch stored = readBrushPatch(block, 3);
    EXPECT_EQ(stored.flags, 0x142u);
    EXPECT_EQ(stored.density, -2);
    EXPECT_EQ((std::array{stored.heat, stored.blur, stored.cycle, stored.shift}),
              (std::array<std::int16_t, 4>{}));
    EXPECT_EQ(stored.reserved[0], 0xAB);
    BrushSettings current;
    current.heat = -5;
    const BrushSettings back = recallBrushPatch(block, 3, current);
    EXPECT_EQ(back.heat, -5);
    EXPECT_EQ(back.height, 4096);

    BrushSettings boil = cover;
    boil.mix = ColorMix::Boil;
    boil.shift = 70000;  // only its low 16 bits are kept
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
        BrushPatch p;
        p.width = cases[slot].width;
        p.height = cases[slot].height;
        p.flags = cases[slot].flags;
        p.colour1 = 0x123456;
        writeBrushPatch(stored, slot, p);
    }
    BrushPatchBlock live = builtIn;
    takeStoredBrushPatches(live, stored.bytes);
    for (std::size_t slot = 0; slot < kBrushPatchCount; ++slot) {
        const bool taken = slot < std::size(cases) && cases[slot].taken;
        EXPECT_EQ(readBrushPatch(live, slot), readBrushPatch(taken ? stored : builtIn, slot))
            << "slot " << slot;
    }
}

TEST(BrushPatches, TheBrushStartsAsSlotA1WithDensity40AndABoilerAtRest) {
    BrushSettings expected;  // 20 x 20, red to green, Round, Right, Cover
    EXPECT_EQ(initialBrushSettings(builtInBrushPatches()), expected);
    EXPECT_EQ(brushPatchFlags(expected), 0x122u);
}

TEST(BrushPatches, ABankShowsTheCurrentSlotOnlyWhenItHoldsIt) {
    const std::size_t b3 = brushSlotIndex(true, 2);
    EXPECT_EQ(b3, 10u);
    EXPECT_EQ(markedBrushSlotButton(b3, true), 2u);
    EXPECT_EQ(markedBrushSlotButton(b3, false), std::nullopt);
    EXPECT_EQ(markedBrushSlotButton(7, false), 7u);
}

}  // namespace
}  // namespace lumetra
