// The production brush and boiler against their plain references over random pictures: dabs of
// every built-in patch at the picture's corners, edges and beyond, Apply Brush and Apply Color
// Boiler. Pixels and the random seed must be equal.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boiler_reference.h"
#include "brush_reference.h"
#include "render_rig.h"
#include "tools/brush_patches.h"
#include "tools/paint_dab.h"

namespace lumetra::testing {
namespace {

// Both brushes built from the same settings and seed, and a random picture for each to work on.
struct Pair {
    Pair(const BrushSettings& settings, std::int32_t width, std::int32_t height, std::uint32_t seed)
        : fast(
              randomCanvas(width, height, seed, {.litShare = 0.8, .blue = true, .blueShare = 0.5})),
          plain(fast) {
        std::string message;
        EXPECT_TRUE(buildBrush(tool.brush, settings, fastSeed, message));
        reference = referenceBuildBrush(settings, plainSeed);
    }
    void expectSame(std::size_t slot) const {
        EXPECT_EQ(fast.pixels.bytes, plain.pixels.bytes) << "slot " << slot;
        EXPECT_EQ(fastSeed.value, plainSeed.value) << "slot " << slot;
    }
    CanvasImage fast, plain;
    BrushTool tool;
    ReferenceBrush reference;
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
                referencePaintDab(pair.plain, pair.reference, pair.plainSeed, x, y);
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
        // Boiler values from every slider's range and beyond it; in slots 7 and 14 the most a
        // patch can hold, values no integer holds.
        settings.heat = int(slot % 5) * 25 - 50;
        settings.blur = int(slot * 7 % 120);
        settings.cycle = int(slot * 13 % 100);
        settings.shift = int(slot % 4) * 50 - 100;
        if (slot == 7 || slot == 14) {
            settings.heat = settings.blur = settings.cycle = 32767;
            settings.shift = -32768;
        }
        Pair pair(settings, 57, 33, std::uint32_t(100 + slot));
        pair.fast.selection = pair.plain.selection = selections[slot % 3];
        std::string message;
        ASSERT_TRUE(applyBrushToImage(pair.tool, pair.fast, pair.fastSeed, message));
        referenceApplyBrush(pair.plain, pair.reference, pair.plainSeed);
        EXPECT_EQ(pair.tool.brush.settings, settings);  // its own size and mix again
        pair.fast.selection = pair.plain.selection = selections[(slot + 1) % 3];
        ASSERT_TRUE(applyColorBoiler(pair.tool, pair.fast, message));
        referenceRunBoiler(pair.plain, pair.reference, operationRegion(pair.plain), false);
        pair.expectSame(slot);
    }
}

}  // namespace
}  // namespace lumetra::testing
