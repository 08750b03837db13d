// The brush's mask, its failures and the boiler's scratch; then brush and boiler against their
// plain references over every patch (fades, mixes, Spray's draws, the boiler's arithmetic): pixels
// and random seed equal.
#include <gtest/gtest.h>

#include "boiler_reference.h"
#include "brush_reference.h"
#include "render_rig.h"
#include "tools/brush_patches.h"
#include "tools/paint_dab.h"

namespace lumetra {
namespace {

BrushSettings brushOf(std::int32_t width, std::int32_t height, BrushShape shape,
                      ColorFade fade = ColorFade::Right) {
    return {.width = width, .height = height, .shape = shape, .fade = fade};
}

Brush built(const BrushSettings& settings) {
    Brush brush;
    RandomSeed seed;
    std::string message;
    EXPECT_TRUE(buildBrush(brush, settings, seed, message));
    return brush;
}

TEST(Brush, MaskWithTheKTermOfOnePixelWideBrushes) {
    using enum BrushShape;
    // Width, height, shape, where and the mask there; 174 = (1 - sqrt(0.1)) x 255 by the k term.
    const std::tuple<std::int32_t, std::int32_t, BrushShape, std::int32_t, std::int32_t, int>
        cases[] = {
            {1, 40, Round, 0, 20, 174}, {1, 40, Spray, 0, 20, 255}, {40, 1, Round, 20, 0, 174},
            {1, 1, Round, 0, 0, 0},     {1, 1, Spray, 0, 0, 0},     {20, 20, Round, 10, 10, 255},
            {20, 20, Round, 0, 10, 0},  {20, 20, Spray, 0, 10, 0},  {20, 20, Spray, 1, 10, 255}};
    for (const auto& [width, height, shape, i, j, mask] : cases)
        EXPECT_EQ(built(brushOf(width, height, shape)).mask[std::size_t(j * width + i)], mask)
            << width << " x " << height << " at " << i << ", " << j;
    EXPECT_TRUE(built(brushOf(20, 20, Rect)).mask.empty());
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

TEST(Boiler, TheScratchIsKeptWhileTheSizeStaysAndOneThatCannotBeHadChangesNothing) {
    // A one-pixel white Rect brush: every weight exactly 1, no mask.
    BrushSettings s{.width = 1, .height = 1, .colour1 = 0xFFFFFF, .colour2 = 0xFFFFFF};
    std::tie(s.shape, s.mix, s.heat, s.blur, s.cycle) =
        std::tuple(BrushShape::Rect, ColorMix::Boil, 20, 50, 10);
    BrushTool tool;
    CanvasImage image = testing::randomCanvas(12, 8, 2);
    RandomSeed seed;
    std::string message;
    ASSERT_TRUE(buildBrush(tool.brush, s, seed, message));
    ASSERT_TRUE(paintDab(tool, image, seed, 3, 3, message));
    const std::uint8_t* scratch = tool.boiler.bytes.data();
    ASSERT_TRUE(paintDab(tool, image, seed, 40, 3, message));  // wholly outside: nothing
    ASSERT_TRUE(paintDab(tool, image, seed, 8, 5, message));
    EXPECT_EQ(tool.boiler.bytes.data(), scratch);
    EXPECT_EQ(tool.boiler.bytes.size(), 27u);  // 3 x 3 pixels: the dab and its border
    const auto limit = tool.boiler.byteLimit;
    tool.boiler.byteLimit = 100;  // room for the dab's scratch, not for the whole picture's
    const CanvasImage before = image;
    EXPECT_FALSE(applyColorBoiler(tool, image, message));
    EXPECT_EQ(message, "Could not create boiler bitmap");
    EXPECT_EQ(image.pixels.bytes, before.pixels.bytes);
    tool.boiler.byteLimit = limit;
    ASSERT_TRUE(applyColorBoiler(tool, image, message));
    EXPECT_EQ(tool.boiler.bytes.size(), 14u * 10u * 3u);
}

// Both brushes built from the same settings and seed, and a random picture for each to work on.
struct Pair {
    Pair(const BrushSettings& settings, std::int32_t width, std::int32_t height, std::uint32_t seed)
        : fast(testing::randomCanvas(width, height, seed,
                                     {.litShare = 0.8, .blue = true, .blueShare = 0.5})),
          plain(fast) {
        std::string message;
        EXPECT_TRUE(buildBrush(tool.brush, settings, fastSeed, message));
        reference = testing::referenceBuildBrush(settings, plainSeed);
    }
    void expectSame(std::size_t slot) const {
        EXPECT_EQ(fast.pixels.bytes, plain.pixels.bytes) << "slot " << slot;
        EXPECT_EQ(fastSeed.value, plainSeed.value) << "slot " << slot;
    }
    CanvasImage fast, plain;
    BrushTool tool;
    testing::ReferenceBrush reference;
    RandomSeed fastSeed, plainSeed;
};

TEST(BrushAgreement, DabsOfEveryBuiltInPatch) {
    const BrushPatchBlock patches = builtInBrushPatches();
    // Wider and higher than every dab, and smaller than the larger ones.
    for (const auto& [w, h] : {std::pair{64, 48}, {30, 10}}) {
        for (std::size_t slot = 0; slot < kBrushPatchCount; ++slot) {
            Pair pair(recallBrushPatch(patches, slot, initialBrushSettings(patches)), w, h,
                      std::uint32_t(slot));
            const std::pair<int, int> points[] = {{w / 2, h / 2}, {0, 0},      {w - 1, h - 1},
                                                  {w, h / 2},     {-3, h + 2}, {500, -500},
                                                  {w / 2, h / 2}, {1, h - 2}};
            for (const auto& [x, y] : points) {
                std::string message;
                ASSERT_TRUE(paintDab(pair.tool, pair.fast, pair.fastSeed, x, y, message));
                testing::referencePaintDab(pair.plain, pair.reference, pair.plainSeed, x, y);
            }
            pair.expectSame(slot);
        }
    }
}

TEST(BrushAgreement, ApplyBrushAndApplyColorBoiler) {
    const BrushPatchBlock patches = builtInBrushPatches();
    const Rect selections[] = {Rect{}, Rect{3, 5, 40, 29}, Rect{0, 0, 1, 33}};
    for (std::size_t slot = 0; slot < kBrushPatchCount; ++slot) {
        BrushSettings settings = recallBrushPatch(patches, slot, initialBrushSettings(patches));
        // Boiler values in and beyond the sliders' ranges; in slots 7 and 14 the most a patch
        // holds.
        std::tie(settings.heat, settings.blur, settings.cycle, settings.shift) =
            std::tuple(int(slot % 5) * 25 - 50, int(slot * 7 % 120), int(slot * 13 % 100),
                       int(slot % 4) * 50 - 100);
        if (slot == 7 || slot == 14)
            std::tie(settings.heat, settings.blur, settings.cycle, settings.shift) =
                std::tuple(32767, 32767, 32767, -32768);
        Pair pair(settings, 57, 33, std::uint32_t(100 + slot));
        pair.fast.selection = pair.plain.selection = selections[slot % 3];
        std::string message;
        ASSERT_TRUE(applyBrushToImage(pair.tool, pair.fast, pair.fastSeed, message));
        testing::referenceApplyBrush(pair.plain, pair.reference, pair.plainSeed);
        EXPECT_EQ(pair.tool.brush.settings, settings);  // its own size and mix again
        pair.fast.selection = pair.plain.selection = selections[(slot + 1) % 3];
        ASSERT_TRUE(applyColorBoiler(pair.tool, pair.fast, message));
        testing::referenceRunBoiler(pair.plain, pair.reference, operationRegion(pair.plain), false);
        pair.expectSame(slot);
    }
}

}  // namespace
}  // namespace lumetra
