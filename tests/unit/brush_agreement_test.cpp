// The production brush and boiler against their plain references: dabs of every built-in patch
// at the picture's corners, edges and beyond, Apply Brush and Apply Color Boiler, over random
// pictures. Pixels and the random seed must be equal.

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

CanvasImage randomPicture(std::int32_t width, std::int32_t height, std::uint32_t seed) {
    return randomCanvas(width, height, seed,
                        PictureRecipe{.litShare = 0.8, .blue = true, .blueShare = 0.5});
}

// Builds both brushes from the same settings and seed.
struct Pair {
    BrushTool tool;
    ReferenceBrush reference;
    RandomSeed seed, referenceSeed;

    explicit Pair(const BrushSettings& settings) {
        std::string message;
        EXPECT_TRUE(buildBrush(tool.brush, settings, seed, message));
        reference = referenceBuildBrush(settings, referenceSeed);
    }
};

void expectSame(const CanvasImage& fast, const CanvasImage& plain, const Pair& pair,
                const std::string& what) {
    EXPECT_EQ(fast.pixels.bytes, plain.pixels.bytes) << what;
    EXPECT_EQ(pair.seed.value, pair.referenceSeed.value) << what;
}

struct Picture {
    std::int32_t width, height;
};

TEST(BrushAgreement, DabsOfEveryBuiltInPatch) {
    const BrushPatchBlock patches = builtInBrushPatches();
    // Wider and higher than every dab, and smaller than the larger ones.
    for (const Picture size : {Picture{64, 48}, Picture{30, 10}}) {
        for (std::size_t slot = 0; slot < kBrushPatchCount; ++slot) {
            Pair pair(recallBrushPatch(patches, slot, initialBrushSettings(patches)));
            CanvasImage fast = randomPicture(size.width, size.height, std::uint32_t(slot));
            CanvasImage plain = fast;
            const std::int32_t w = size.width, h = size.height;
            const std::vector<std::pair<int, int>> points = {
                {w / 2, h / 2}, {0, 0},      {w - 1, h - 1}, {w, h / 2},
                {-3, h + 2},    {500, -500}, {w / 2, h / 2}, {1, h - 2}};
            for (const auto& [x, y] : points) {
                std::string message;
                ASSERT_TRUE(paintDab(pair.tool, fast, pair.seed, x, y, message));
                referencePaintDab(plain, pair.reference, pair.referenceSeed, x, y);
            }
            expectSame(fast, plain, pair, "slot " + std::to_string(slot));
        }
    }
}

TEST(BrushAgreement, ApplyBrushAndApplyColorBoiler) {
    const BrushPatchBlock patches = builtInBrushPatches();
    const Rect selections[] = {Rect{}, Rect{3, 5, 40, 29}, Rect{0, 0, 1, 33}};
    for (std::size_t slot = 0; slot < kBrushPatchCount; ++slot) {
        BrushSettings settings = recallBrushPatch(patches, slot, initialBrushSettings(patches));
        // Boiler values from every slider's range and beyond it.
        settings.heat = int(slot % 5) * 25 - 50;
        settings.blur = int(slot * 7 % 120);
        settings.cycle = int(slot * 13 % 100);
        settings.shift = int(slot % 4) * 50 - 100;
        if (slot == 7 || slot == 14) {  // the most a patch can hold: values no integer holds
            settings.heat = settings.blur = settings.cycle = 32767;
            settings.shift = -32768;
        }
        Pair pair(settings);
        CanvasImage fast = randomPicture(57, 33, std::uint32_t(100 + slot));
        fast.selection = selections[slot % 3];
        CanvasImage plain = fast;
        std::string message;
        ASSERT_TRUE(applyBrushToImage(pair.tool, fast, pair.seed, message));
        referenceApplyBrush(plain, pair.reference, pair.referenceSeed);
        EXPECT_EQ(pair.tool.brush.settings, settings);  // its own size and mix again
        fast.selection = selections[(slot + 1) % 3];
        plain.selection = fast.selection;
        ASSERT_TRUE(applyColorBoiler(pair.tool, fast, message));
        referenceRunBoiler(plain, pair.reference, operationRegion(plain), false);
        expectSame(fast, plain, pair, "slot " + std::to_string(slot));
    }
}

}  // namespace
}  // namespace lumetra::testing
