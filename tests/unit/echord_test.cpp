// Echord: where the copies land, how strong they are, and agreement with the plain version.

#include <gtest/gtest.h>

#include <random>

#include "echord_reference.h"
#include "resources/resource_ids.h"
#include "tools/echord.h"
#include "tools/echord_controls.h"
#include "tools/echord_patches.h"

namespace lumetra {
namespace {

// A black picture with one lit pixel, and the settings of a single-direction series without
// randomness: hop1 0 (the first copy uses hop), no fade unless a case sets one.
struct Scene {
    CanvasImage image;
    PixelImage source;
    Scene(std::int32_t width, std::int32_t height, std::int32_t x, std::int32_t y, Rgb lit) {
        std::string message;
        image.pixels = *createCanvasBitmap(width, height, message);
        setPixel(image.pixels, x, y, lit);
        source = image.pixels;
    }
    void run(const EchordSettings& settings) {
        RandomSeed seed;
        addEchordCopies(source, image, settings, seed);
    }
    Rgb at(std::int32_t x, std::int32_t y) const { return pixelAt(image.pixels, x, y); }
};

EchordSettings straight(std::int32_t angle, std::int32_t num, std::int32_t hop = 13) {
    EchordSettings s{};
    s.angle = angle;
    s.hop = hop;
    s.hop1 = 0;
    s.fade = 0;
    s.fade1 = 0;
    s.num = num;
    return s;
}

TEST(Echord, CopiesToTheRightFadeByTheSeries) {
    // Fade fractions 0.1, 0.1333..., 0.1666... of the channel values (30, 60, 200).
    Scene scene(60, 3, 0, 1, Rgb{200, 60, 30});
    EchordSettings s = straight(90, 3);
    s.fade = 10;
    scene.run(s);
    EXPECT_EQ(scene.at(13, 1), (Rgb{180, 54, 27}));
    EXPECT_EQ(scene.at(26, 1), (Rgb{173, 52, 26}));
    EXPECT_EQ(scene.at(39, 1), (Rgb{166, 50, 25}));
    EXPECT_EQ(scene.at(52, 1), Rgb{});
}

TEST(Echord, AngleIsACompassDirection) {
    struct Case {
        std::int32_t angle, x, y;
    };
    for (const Case& c : {Case{0, 20, 7}, Case{90, 33, 20}, Case{180, 20, 33}, Case{270, 7, 20}}) {
        Scene scene(41, 41, 20, 20, Rgb{9, 9, 9});
        scene.run(straight(c.angle, 1));
        EXPECT_EQ(scene.at(c.x, c.y), (Rgb{9, 9, 9})) << c.angle;
    }
}

TEST(Echord, MulGrowsOrShrinksTheSteps) {
    // Copy k lands at the distance before it; after it the distance grows by hop and by
    // (trunc(mul / 5) + 1) * k * mul / 15.
    struct Case {
        std::int32_t mul;
        std::int32_t second, third;
    };
    for (const Case& c : {Case{50, 62, 149}, Case{-7, 26, 39}, Case{-12, 26, 41}}) {
        Scene scene(200, 1, 0, 0, Rgb{0, 0, 40});
        EchordSettings s = straight(90, 3);
        s.mul = c.mul;
        scene.run(s);
        EXPECT_EQ(scene.at(13, 0).blue, 40) << c.mul;
        EXPECT_EQ(scene.at(c.second, 0).blue, 40) << c.mul;
        EXPECT_EQ(scene.at(c.third, 0).blue, 40) << c.mul;
    }
}

TEST(Echord, ShrinkingStepsEndTheSeriesBelowHalfAPixel) {
    // Distance 1, then 0.8 (the copy lands on the source itself), then 0.4: the end, although
    // three more copies were asked for.
    Scene scene(4, 1, 0, 0, Rgb{0, 0, 40});
    EchordSettings s = straight(90, 5, 0);
    s.hop1 = 1;
    s.mul = -3;
    scene.run(s);
    EXPECT_EQ(scene.at(1, 0).blue, 40);
    EXPECT_EQ(scene.at(0, 0).blue, 80);
}

TEST(Echord, SwapAlternatesRedAndGreenButNeverBlue) {
    Scene scene(60, 1, 0, 0, Rgb{200, 20, 5});
    EchordSettings s = straight(90, 3);
    s.swap = 1;
    s.alt = 1;
    scene.run(s);
    EXPECT_EQ(scene.at(13, 0), (Rgb{20, 200, 5}));
    EXPECT_EQ(scene.at(26, 0), (Rgb{200, 20, 5}));
    EXPECT_EQ(scene.at(39, 0), (Rgb{20, 200, 5}));
}

TEST(Echord, WrapBringsCopiesBackOnTheTimeAxisOnly) {
    for (std::int32_t wrap : {0, 1}) {
        Scene scene(20, 20, 15, 15, Rgb{7, 7, 7});
        EchordSettings s = straight(90, 1);
        s.wrap = wrap;
        scene.run(s);
        EXPECT_EQ(scene.at(8, 15), wrap ? (Rgb{7, 7, 7}) : Rgb{}) << wrap;
        Scene high(20, 20, 15, 5, Rgb{7, 7, 7});
        high.run(straight(0, 1));  // 13 up from row 5: above the picture, lost either way
        EXPECT_EQ(high.image.pixels.bytes, high.source.bytes) << wrap;
    }
}

TEST(Echord, ContributionsBelowOneAreSkipped) {
    // Fade fraction 0.01: a channel of 1 would add 0.99 and adds nothing, 100 adds 99.
    Scene scene(20, 1, 0, 0, Rgb{100, 1, 0});
    EchordSettings s = straight(90, 1);
    s.fade1 = 1;
    scene.run(s);
    EXPECT_EQ(scene.at(13, 0), (Rgb{99, 0, 0}));
}

TEST(Echord, SumsAreCappedAt255) {
    Scene scene(20, 1, 0, 0, Rgb{250, 0, 0});
    setPixel(scene.image.pixels, 13, 0, Rgb{10, 0, 0});
    scene.run(straight(90, 1));
    EXPECT_EQ(scene.at(13, 0).red, 255);
}

TEST(Echord, NoCopiesWithoutNumberOrDistance) {
    for (EchordSettings s : {straight(90, 0), straight(90, 3, 0)}) {
        Scene scene(30, 2, 0, 0, Rgb{50, 50, 50});
        RandomSeed seed;
        s.rand = 50;
        addEchordCopies(scene.source, scene.image, s, seed);
        EXPECT_EQ(scene.image.pixels.bytes, scene.source.bytes);
        EXPECT_EQ(seed.value, RandomSeed::kStart);
    }
}

TEST(Echord, HostileStoredValuesStayInsideThePicture) {
    Scene scene(16, 16, 8, 8, Rgb{50, 50, 50});
    EchordSettings s = straight(12345, 100, 2147483647);
    s.mul = -2147483647 - 1;
    s.jitter = 2147483647;
    s.rand = 2147483647;
    s.warp = -2147483647;
    s.wrap = 1;
    s.fade1 = -100;
    s.fade = -2147483647;
    scene.run(s);  // whatever lands, nothing is written outside the picture (ASan watches)
    SUCCEED();
}

TEST(Echord, HopSliderPositionsMapToDistances) {
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {0, 0}, {8, 10}, {10, 13}, {50, 133}, {100, 433}};
    for (auto [slider, hop] : cases)
        EXPECT_EQ(hopFromSlider(slider), hop) << slider;
}

TEST(EchordPatches, RecallMapsSlidersAndStoreKeepsThem) {
    const EchordPatchTable table = builtInEchordPatches();
    const RecalledEchord a1 = recallEchordPatch(table[0]);
    EXPECT_EQ(a1.settings, EchordSettings{});  // the tool's start values are patch A1
    EXPECT_EQ(a1.sliders.hop, 10);
    EXPECT_EQ(a1.sliders.hop1, 8);
    for (const EchordPatch& patch : table)
        EXPECT_EQ(
            storeEchordPatch(recallEchordPatch(patch).settings, recallEchordPatch(patch).sliders),
            patch);
    EXPECT_EQ(table[echordSlotIndex(true, 9)].words,
              (std::array<std::int32_t, 13>{90, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// Random pictures, half black, through every built-in patch and a few wilder settings, with a
// selection: the program's version must leave the same bytes and the same generator state.
TEST(Echord, AgreesWithThePlainVersion) {
    std::mt19937 random(7);
    std::vector<EchordSettings> settings;
    for (const EchordPatch& patch : builtInEchordPatches())
        settings.push_back(recallEchordPatch(patch).settings);
    EchordSettings wild = straight(37, 12, 9);
    wild.warp = -45;
    wild.rand = 60;
    wild.jitter = 90;
    wild.mul = 23;
    wild.swap = wild.alt = wild.wrap = 1;
    wild.fade = 3;
    settings.push_back(wild);
    for (std::size_t i = 0; i < settings.size(); ++i) {
        std::string message;
        CanvasImage fast;
        fast.pixels = *createCanvasBitmap(97, 61, message);
        for (auto& byte : fast.pixels.bytes)
            byte = random() % 2 ? std::uint8_t(random()) : 0;
        if (i % 2) fast.selection = Rect{10, 5, 90, 50};
        const PixelImage source = fast.pixels;
        CanvasImage plain = fast;
        RandomSeed a, b;
        a.value = b.value = std::uint32_t(random());
        addEchordCopies(source, fast, settings[i], a);
        testing::referenceEchord(source, plain, settings[i], b);
        EXPECT_EQ(fast.pixels.bytes, plain.pixels.bytes) << i;
        EXPECT_EQ(a.value, b.value) << i;
    }
}

}  // namespace
}  // namespace lumetra

namespace lumetra {
namespace {

TEST(EchordControls, SlidersSetValuesAndShiftJumps) {
    struct Case {
        int control;
        std::int32_t position;
        bool shift;
        std::int32_t shown, value;
    };
    const Case cases[] = {
        // Positions count from the range's low end: Warp's 40 is -60, Mul's 0 is -50.
        {IDC_ECHORD_ANGLE, 200, true, 90, 90}, {IDC_ECHORD_WARP, 40, true, 100, 0},
        {IDC_ECHORD_WARP, 40, false, 40, -60}, {IDC_ECHORD_HOP, 50, false, 50, 133},
        {IDC_ECHORD_HOP1, 8, false, 8, 10},    {IDC_ECHORD_MUL, -20, false, 0, -50},
        {IDC_ECHORD_JITTER, 40, true, 0, 0},
    };
    for (const Case& c : cases) {
        EchordSettings settings;
        HopSliders hops;
        const EchordSlider& slider = *findEchordSlider(c.control);
        EXPECT_EQ(moveEchordSlider(slider, c.position, c.shift, settings, hops), c.shown);
        EXPECT_EQ(settings.*slider.field, c.value) << c.control;
        EXPECT_EQ(echordSliderPosition(slider, settings, hops), c.shown) << c.control;
    }
}

TEST(EchordControls, ReadoutListsTheLastThreeChangesOnce) {
    EchordSettings s;  // hop 13, num 4, fade 16
    s.jitter = 25;
    ParameterReadout readout;
    EXPECT_EQ(readout.text(s), " Hop:\t13\n Num:\t4\n Fade:\t16%");
    readout.touch(IDC_ECHORD_JITTER);
    EXPECT_EQ(readout.text(s), " Jitter:\t25%\n Hop:\t13\n Num:\t4");
    readout.touch(IDC_ECHORD_NUM);  // from the third line to the top, listed once
    EXPECT_EQ(readout.text(s), " Num:\t4\n Jitter:\t25%\n Hop:\t13");
    readout.showDefaults();
    EXPECT_EQ(readout.text(s), " Hop:\t13\n Num:\t4\n Fade:\t16%");
}

TEST(EchordControls, AngleAndWarpTexts) {
    EchordSettings s;
    s.angle = 270;
    s.warp = -45;
    EXPECT_EQ(echordAngleText(s), "270\xC2\xB0");
    EXPECT_EQ(echordWarpText(s), "-4.5\xC2\xB0");
}

}  // namespace
}  // namespace lumetra
