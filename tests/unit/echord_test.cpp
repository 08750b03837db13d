// Echord: where copies land and how strong, agreement with the plain version, patches, controls.
#include <gtest/gtest.h>

#include <random>

#include "echord_reference.h"
#include "resources/resource_ids.h"
#include "tools/echord.h"
#include "tools/echord_controls.h"
#include "tools/echord_patches.h"

namespace lumetra {
namespace {

using Lit = std::tuple<std::int32_t, std::int32_t, Rgb>;  // x, y and the colour there

CanvasImage blackWith(std::int32_t width, std::int32_t height, const std::vector<Lit>& lit) {
    std::string message;
    CanvasImage image;
    image.pixels = *createCanvasBitmap(width, height, message);
    for (const auto& [x, y, colour] : lit)
        setPixel(image.pixels, x, y, colour);
    return image;
}

// A single series without randomness: the first copy at hop (hop1 0), no fade unless set.
struct Series {
    std::int32_t angle = 90, hop = 13, hop1 = 0, fade = 0, fade1 = 0, num = 1, mul = 0, swap = 0,
                 alt = 0, wrap = 0;
    operator EchordSettings() const {
        return {angle, 0, hop, hop1, fade, fade1, num, mul, 0, 0, swap, alt, wrap};
    }
};

// Each row: series, picture size, lit pixels, pixels after. (The rest: the agreement below.)
TEST(Echord, WhereTheCopiesLandAndHowStrong) {
    const auto row = [](const char* fact, Series s, std::int32_t width, std::int32_t height,
                        std::vector<Lit> lit, std::vector<Lit> expected) {
        CanvasImage image = blackWith(width, height, lit);
        const PixelImage source = image.pixels;
        RandomSeed seed;
        addEchordCopies(source, image, s, seed, nullptr);
        for (const auto& [x, y, colour] : expected)
            EXPECT_EQ(pixelAt(image.pixels, x, y), colour) << fact << " at " << x << ", " << y;
    };
    const Rgb grey{9, 9, 9}, blue{0, 0, 40};
    row("the angle is a compass direction: 0 up", {.angle = 0}, 41, 41, {{20, 20, grey}},
        {{20, 7, grey}});
    row("at most 100 copies", {.hop = 1, .num = INT32_MAX}, 200, 1, {{0, 0, blue}},
        {{100, 0, blue}, {101, 0, {}}});
    // Fade fraction 0.01: a channel of 1 would add 0.99 and adds nothing, 100 adds 99.
    row("below one", {.fade1 = 1}, 20, 1, {{0, 0, {100, 1, 0}}}, {{13, 0, {99, 0, 0}}});
}

TEST(Echord, NoCopiesWithoutNumberOrDistance) {
    for (const auto& [num, hop] : {std::pair{0, 13}, {3, 0}}) {
        EchordSettings s = Series{.hop = hop, .num = num};
        s.rand = 50;
        CanvasImage image = blackWith(30, 2, {{0, 0, {50, 50, 50}}});
        const PixelImage source = image.pixels;
        RandomSeed seed;
        addEchordCopies(source, image, s, seed, nullptr);
        EXPECT_TRUE(image.pixels.bytes == source.bytes && seed.value == RandomSeed::kStart) << num;
    }
}

// Random pictures through every built-in patch and wilder settings, with a selection: the same
// bytes and generator state as the plain version, on one thread, two and three.
TEST(Echord, AgreesWithThePlainVersion) {
    RenderWorkers two, three;
    two.setHelpers(1);
    three.setHelpers(2);
    std::mt19937 random(7);
    std::vector<EchordSettings> settings;
    for (const EchordPatch& patch : builtInEchordPatches())
        settings.push_back(recallEchordPatch(patch).settings);
    settings.push_back({37, -45, 9, 0, 3, 0, 12, 23, 60, 90, 1, 1, 1});  // in the order above
    for (std::size_t i = 0; i < settings.size(); ++i) {
        CanvasImage fast = blackWith(97, 61, {});
        for (auto& byte : fast.pixels.bytes)
            byte = random() % 2 ? std::uint8_t(random()) : 0;
        if (i % 2) fast.selection = Rect{10, 5, 90, 50};
        const PixelImage source = fast.pixels;
        CanvasImage plain = fast;
        RandomSeed b;
        b.value = std::uint32_t(random());
        const RandomSeed start = b;
        testing::referenceEchord(source, plain, settings[i], b);
        for (RenderWorkers* workers : {static_cast<RenderWorkers*>(nullptr), &two, &three}) {
            CanvasImage made = fast;
            RandomSeed a = start;
            addEchordCopies(source, made, settings[i], a, workers);
            EXPECT_EQ(made.pixels.bytes, plain.pixels.bytes) << i;
            EXPECT_EQ(a.value, b.value) << i;
        }
    }
}

TEST(EchordPatches, HopSlidersRecallStoreAndTheControls) {
    for (auto [slider, hop] : {std::pair{0, 0}, {8, 10}, {10, 13}, {50, 133}, {100, 433}})
        EXPECT_EQ(hopFromSlider(slider), hop) << slider;
    const EchordPatchTable table = builtInEchordPatches();
    const RecalledEchord a1 = recallEchordPatch(table[0]);
    // The tool's start values are patch A1.
    EXPECT_TRUE(a1.settings == EchordSettings{} && a1.sliders.hop == 10 && a1.sliders.hop1 == 8);
    for (const EchordPatch& patch : table)
        EXPECT_EQ(
            storeEchordPatch(recallEchordPatch(patch).settings, recallEchordPatch(patch).sliders),
            patch);
    EXPECT_EQ(table[echordSlotIndex(true, 9)].words,
              (std::array<std::int32_t, 13>{90, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    // Control, position, Shift, shown, value; from the range's low end: Warp 40 is -60, Mul 0 -50.
    const std::tuple<int, std::int32_t, bool, std::int32_t, std::int32_t> cases[] = {
        {IDC_ECHORD_ANGLE, 200, true, 90, 90}, {IDC_ECHORD_WARP, 40, true, 100, 0},
        {IDC_ECHORD_WARP, 40, false, 40, -60}, {IDC_ECHORD_HOP, 50, false, 50, 133},
        {IDC_ECHORD_HOP1, 8, false, 8, 10},    {IDC_ECHORD_MUL, -20, false, 0, -50},
        {IDC_ECHORD_JITTER, 40, true, 0, 0},
    };
    for (const auto& [control, position, shift, shown, value] : cases) {
        EchordSettings settings;
        HopSliders hops;
        const EchordSlider& slider = *findEchordSlider(control);
        const std::int32_t moved = moveEchordSlider(slider, position, shift, settings, hops);
        EXPECT_EQ(
            std::tuple(moved, settings.*slider.field, echordSliderPosition(slider, settings, hops)),
            std::tuple(shown, value, shown))
            << control;
    }
    EchordSettings s{.angle = 270, .warp = -45, .jitter = 25};  // hop 13, num 4, fade 16 as ever
    ParameterReadout readout;
    EXPECT_EQ(readout.text(s), " Hop:\t13\n Num:\t4\n Fade:\t16%");
    readout.touch(IDC_ECHORD_JITTER);
    EXPECT_EQ(readout.text(s), " Jitter:\t25%\n Hop:\t13\n Num:\t4");
    readout.touch(IDC_ECHORD_NUM);  // from the third line to the top, listed once
    EXPECT_EQ(readout.text(s), " Num:\t4\n Jitter:\t25%\n Hop:\t13");
    readout.showDefaults();
    EXPECT_EQ(readout.text(s), " Hop:\t13\n Num:\t4\n Fade:\t16%");
    EXPECT_EQ(echordAngleText(s) + echordWarpText(s), "270\xC2\xB0-4.5\xC2\xB0");
}

}  // namespace
}  // namespace lumetra
