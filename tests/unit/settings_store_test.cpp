// The settings store over a value store in memory, its packed words and the window places.
#include "shell/settings_store.h"

#include <gtest/gtest.h>

#include <boost/system/error_code.hpp>
#include <cmath>
#include <sstream>

#include "base/file_io.h"
#include "base/registry_error.h"
#include "base/text_limits.h"
#include "memory_value_store.h"
#include "render/render_settings.h"
#include "render/sound_options.h"
#include "settings_samples.h"
#include "shell/settings_schema.h"
#include "shell/window_layout.h"

namespace lumetra {
namespace {

using test::loadedFieldsText;

constexpr ScreenSize kScreen{1280, 1024};
const std::string kBase, kWindows = "Windows\\", kDirectories = "Directories\\";

// The settings as a fresh start has them, with recognisable built-in patch tables.
PersistedSettings freshSettings() {
    PersistedSettings s;
    for (std::size_t i = 0; i < s.brushPatches.bytes.size(); ++i)
        s.brushPatches.bytes[i] = std::uint8_t(i * 7);
    for (std::size_t r = 0; r < kEchordPatchCount; ++r)
        s.echordPatches[r].words = {90, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, std::int32_t(r)};
    return s;
}

class SettingsStoreTest : public ::testing::Test {
  protected:
    PersistedSettings load() {
        PersistedSettings s = freshSettings();
        EXPECT_TRUE(SettingsStore(store_).load(s, kScreen));
        return s;
    }
    void putDword(const std::string& key, const std::string& name, std::uint32_t word) {
        store_.put(key, dwordValue(name, word));
    }

    test::MemoryValueStore store_;
};

TEST_F(SettingsStoreTest, AnEmptyStoreLoadsTheDefaultsAndSavesThemInTheLoadsOrder) {
    PersistedSettings s = load();
    EXPECT_EQ(store_.valueCount(), 0u);  // loading never writes
    PersistedSettings expected = freshSettings();
    expected.layout.brushShow = kShowNormal;  // the brush dialog always comes up shown
    EXPECT_EQ(loadedFieldsText(s), loadedFieldsText(expected));

    const std::vector<std::string> readOrder = store_.readNames;
    ASSERT_TRUE(SettingsStore(store_).save(s, MainWindowPlacement{50, 50, 590, 330, 1, false}));
    EXPECT_EQ(store_.writtenNames, readOrder);
    std::string names;
    for (const std::string& name : readOrder)
        names += name + ",";
    EXPECT_EQ(
        names,
        "Image width,Image height,Output buffers,Output sample rate,Output device,Render "
        "options,Program options,Output time,Pitch:Low,Pitch:High,Output amp,Patches: "
        "Brush,Patches: Echord,main.x,main.y,main.w,main.h,main.cmdshow,brush.x,brush.y,"
        "brush.show,echord.x,echord.y,echord.show,rndr.x,rndr.y,rndr.show,imgbr.x,imgbr.y,"
        "imgbr.w,imgbr.h,imgbr.show,canvas.zoom,canvas.rulers,Image,Filter,Soundfile,Analysed "
        "sounds,");
    EXPECT_EQ(store_.openedKeys, (std::vector<std::string>{kBase, kWindows, kDirectories, kBase,
                                                           kWindows, kDirectories}));
    // In the order of the names: 8 buffers of 4096, render options 0x4A0001EA, thousandths.
    std::string words;
    for (const StoredValue& v : store_.enumerateValues(kBase))
        if (v.type == StoredType::Dword) words += std::to_string(*dwordFrom(v)) + " ";
    EXPECT_EQ(words, "300 150 134221824 22050 0 1241514474 0 5000 50000 8000000 10000 ");
    EXPECT_EQ(dwordFrom(*store_.find(kWindows, "brush.show")), 1u);  // (other types: round trip)
}

TEST_F(SettingsStoreTest, RoundTripKeepsEveryValueAndRecordsTheMainWindow) {
    PersistedSettings s = test::unusualSettings();
    ASSERT_TRUE(SettingsStore(store_).save(s, MainWindowPlacement{30, 40, 830, 640, 3, false}));
    PersistedSettings expected = test::unusualSettings();
    WindowLayout& l = expected.layout;
    std::tie(l.mainX, l.mainY, l.mainWidth, l.mainHeight, l.mainShow) =
        std::tuple(30, 40, 800, 600, 3);
    EXPECT_EQ(loadedFieldsText(load()), loadedFieldsText(expected));
}

// Sizes below 10 and rates not above 0 take their defaults; the device is signed, the pitch not.
TEST_F(SettingsStoreTest, LoadRules) {
    for (const auto& [name, word] :
         {std::pair{"Image width", 9u}, {"Image height", 10u}, {"Output sample rate", 0u}})
        putDword(kBase, name, word);
    PersistedSettings s = load();
    EXPECT_EQ(std::tuple(s.renderDefaults.width, s.renderDefaults.height, s.sound.sampleRate),
              std::tuple(300, 10, 22050));
    for (const auto& [name, word] : {std::pair{"Image width", 10u},
                                     {"Image height", 0x80000000u},
                                     {"Output sample rate", 0xFFFFFFFFu},
                                     {"Output device", 0xFFFFFFFFu},
                                     {"Pitch:High", 0x80000000u}})
        putDword(kBase, name, word);
    s = load();
    EXPECT_EQ(std::tuple(s.renderDefaults.width, s.renderDefaults.height, s.sound.sampleRate,
                         s.sound.device, s.renderDefaults.highFrequency),
              std::tuple(10, 150, 22050, -1, 2147483.648));
}

// Folder texts end at their terminator; longer than 255 wide characters, they are dropped, not cut.
TEST_F(SettingsStoreTest, ValuesOfTheWrongTypeOrSizeOrTooLongLoadAsIfMissing) {
    PersistedSettings expected = load();
    const std::string fits = "C:\\" + std::string(252, 'a');
    std::string wide;
    for (int i = 0; i < 127; ++i)
        wide += "\xC3\xA9";
    wide += "\xF0\x9F\x8E\xB5";
    EXPECT_EQ(wideLength(wide), 129u);
    const std::pair<const std::string&, StoredValue> values[] = {
        {kBase, {"Image width", StoredType::Binary, {0x80, 2, 0, 0}}},
        {kBase, {"Output buffers", StoredType::Dword, {0, 0x10, 0, 4, 0}}},
        {kBase, {"Output time", StoredType::Other, {1, 2, 3, 4}}},
        {kBase, {"Patches: Brush", StoredType::Binary, std::vector<std::uint8_t>(575, 0xEE)}},
        {kBase, {"Patches: Echord", StoredType::Dword, std::vector<std::uint8_t>(1040, 1)}},
        {kDirectories, textValue("Image", fits)},
        {kDirectories, textValue("Filter", fits + "b")},
        {kDirectories, textValue("Soundfile", wide)},
        {kDirectories, {"Analysed sounds", StoredType::String, {'D', ':', 0}}},  // ends at 0
    };
    for (const auto& [key, value] : values)
        store_.put(key, value);
    PersistedSettings s = freshSettings();
    s.folders.filterFolder = "stale";  // cleared, not kept
    ASSERT_TRUE(SettingsStore(store_).load(s, kScreen));
    expected.folders.imageFolder = fits;
    expected.folders.soundfileFolder = pathFromUtf8(wide);
    expected.folders.analysesFolder = "D:";
    EXPECT_EQ(loadedFieldsText(s), loadedFieldsText(expected));
}

TEST_F(SettingsStoreTest, PatchRecordsAreTakenOneByOne) {
    const PersistedSettings builtIn = freshSettings();
    EchordPatchTable stored{};
    for (std::size_t r = 0; r < kEchordPatchCount; ++r)
        stored[r].words = {180, 5, 50, 3, 4, 5, 10, 0, 0, 0, 0, 0, std::int32_t(100 + r)};
    // Records 1 to 5 lie outside the ranges (Num 1..100, Hop 1..499), 6 and 7 on their edges.
    const std::int32_t numHop[][2] = {{0, 3},  {101, 3}, {5, 0},    {5, 500},
                                      {-5, 3}, {1, 1},   {100, 499}};
    for (std::size_t r = 1; r <= 7; ++r) {
        stored[r].words[EchordPatch::kNum] = numHop[r - 1][0];
        stored[r].words[EchordPatch::kHop] = numHop[r - 1][1];
    }
    store_.put(kBase, binaryValue("Patches: Echord", encodeEchordPatches(stored)));
    BrushPatchBlock brushes{};  // all zero, as earlier builds wrote it: none taken
    store_.put(kBase, binaryValue("Patches: Brush", brushes.bytes));
    const PersistedSettings s = load();
    for (std::size_t r = 0; r < kEchordPatchCount; ++r)
        EXPECT_EQ(s.echordPatches[r], r >= 1 && r <= 5 ? builtIn.echordPatches[r] : stored[r])
            << "record " << r;
    EXPECT_EQ(s.brushPatches.bytes, builtIn.brushPatches.bytes);
}

TEST_F(SettingsStoreTest, AKeyThatCannotBeOpenedEndsThePassAFailedWriteGoesOn) {
    for (const std::string& failing : {kBase, kWindows, kDirectories}) {
        test::MemoryValueStore store;
        store.put(kBase, dwordValue("Image width", 777));
        store.put(kWindows, dwordValue("main.x", 77));
        store.put(kDirectories, textValue("Image", "C:\\X\\"));
        store.failingKeys = {failing};
        PersistedSettings s = freshSettings();
        EXPECT_FALSE(SettingsStore(store).load(s, kScreen)) << failing;
        EXPECT_EQ(std::tuple(s.renderDefaults.width, s.layout.mainX, s.folders.imageFolder),
                  std::tuple(failing == kBase ? 300 : 777, failing == kDirectories ? 77 : 8, ""));
    }
    store_.failingWrites = {"Output device"};
    store_.writeErrorCode = 13;
    PersistedSettings s = freshSettings();
    SettingsStore settings(store_);
    EXPECT_TRUE(settings.save(s, MainWindowPlacement{}));
    EXPECT_TRUE(!store_.find(kBase, "Output device") &&
                store_.find(kDirectories, "Analysed sounds"));
    EXPECT_EQ(settingsNotSavedText(settings.errorMessage()),
              "The settings may not have been saved.\n" + systemErrorText(13));
}

constexpr ScreenSize kSmall{1024, 768};

std::string checked(WindowLayout l, ScreenSize screen = kSmall) {
    validateLayout(l, screen);
    return test::layoutText(l);
}

TEST(WindowLayout, RectangleAndPointCheckBoundaries) {
    // x, y, width, height: at least 50 x 40 of it inside the screen widened by 10 on every side.
    const std::tuple<int, int, int, int, bool> rectangles[] = {
        {-10, -10, 60, 50, true},
        {-11, 50, 540, 280, false},
        {50, -11, 540, 280, false},
        {-10, 50, 59, 280, false},
        {50, -10, 540, 49, false},
        {984, 0, 50, 40, true},
        {985, 0, 40, 40, false},
        {900, 0, 135, 40, false},
        {0, 758, 100, 20, true},
        {0, 759, 100, 19, false},
        {0, 700, 100, 79, false},
        {0, 0, INT32_MIN, 100, false},
        {INT32_MAX, 0, INT32_MAX, 100, false},  // sums beyond 32 bits do not wrap into acceptance
    };
    for (const auto& [x, y, w, h, on] : rectangles)
        EXPECT_EQ(rectangleOnScreen(x, y, w, h, kSmall), on)
            << x << " " << y << " " << w << " " << h;
    EXPECT_TRUE(pointOnScreen(-20, -10, kSmall) && pointOnScreen(994, 748, kSmall));
    for (const auto& [x, y] : {std::pair{-21, 0}, {0, -11}, {995, 0}, {0, 749}})
        EXPECT_FALSE(pointOnScreen(x, y, kSmall)) << x << ", " << y;
}

TEST(WindowLayout, PlacesAreKeptOnTheScreenOrBroughtBack) {
    // Made for 1280 x 1024; here the browser beside the main window comes back over its right.
    const std::string defaults =
        "main 8 8 880 560 show 5, brush 8 568 show 1, echord 284 568 "
        "show 5, render 258 54 show 0, browser 668 34 370 364 show 5";
    EXPECT_EQ(checked(WindowLayout{}), defaults);
    // Everything left on a second display that is gone: the tools follow the main window.
    WindowLayout l;
    std::tie(l.mainX, l.mainY, l.brushX, l.brushY, l.echordX, l.echordY, l.renderX, l.renderY,
             l.browserX, l.browserY, l.browserBottom) =
        std::tuple(1500, 900, 1600, 1200, 1900, 1200, 2000, 950, 1800, 926, 1256);
    EXPECT_EQ(checked(l),
              "main 50 50 540 280 show 5, brush 50 330 show 1, echord 80 345 show 5, "
              "render 330 130 show 0, browser 370 76 370 406 show 5");
    // Brush y min(480, 380), echord y min(395, 380), render x min(680, 460); browser unchecked.
    l = WindowLayout{};
    std::tie(l.mainX, l.mainY, l.mainWidth, l.mainHeight, l.brushX, l.echordX, l.renderX) =
        std::tuple(400, 300, 240, 180, -100, -100, -100);
    EXPECT_EQ(checked(l, ScreenSize{640, 480}),
              "main 400 300 240 180 show 5, brush 400 380 show 1, echord 430 380 show 5, "
              "render 460 380 show 0, browser 420 326 370 656 show 5");
    // The browser is checked by its height, not by its bottom edge added to its top.
    EXPECT_EQ(checked(WindowLayout{.browserX = 600, .browserY = 400, .browserBottom = 730}),
              defaults.substr(0, defaults.find("browser")) + "browser 600 400 370 730 show 5");
    EXPECT_EQ(checked(WindowLayout{.browserX = 600, .browserY = 400, .browserBottom = 900}),
              defaults);
}

TEST(WindowLayout, AMinimizedMainWindowIsRecordedAsShown) {
    WindowLayout l;
    recordMainPlacement(l, MainWindowPlacement{10, 20, 610, 420, 2, true});
    EXPECT_EQ(checked(l).substr(0, 26), "main 10 20 600 400 show 5,");
}

std::string fieldsText(const RenderOptionFields& f) {
    std::ostringstream out;
    out << "number " << f.numberSoundfiles << ", save " << f.saveSoundEveryRender << ", named "
        << f.soundfileNamedAfterImage << ", stereo " << f.stereo << ", soft " << f.softSweeps
        << ", noise " << f.noiseBandwidth << ", counter " << f.soundfileCounter << ", undo "
        << f.undoLimit << ", style " << f.selectionStyle;
    return out.str();
}

// (The packing of the default and of other in-range values: the settings store's round trip.)
TEST(SettingsSchema, OutputBuffersAndRenderOptionsWords) {
    // Bit 23 is not part of the size; outside the range: the defaults 8 x 4096.
    const std::tuple<std::uint32_t, int, int> words[] = {
        {0x03000100, 3, 256},  {0x10804000, 16, 16384}, {0x02001000, 8, 4096},
        {0x11001000, 8, 4096}, {0x08000000, 8, 4096},   {0x08001001, 8, 4096},
        {0x08000080, 8, 4096}, {0x08008000, 8, 4096}};
    for (const auto& [word, count, size] : words) {
        SoundOptions sound{.bufferCount = 5, .bufferSize = 512};
        unpackOutputBuffers(word, sound);
        EXPECT_EQ(std::pair(sound.bufferCount, sound.bufferSize), std::pair(count, size))
            << std::hex << word;
    }
    EXPECT_EQ(fieldsText(unpackRenderOptions(kDefaultRenderOptions)),
              "number 0, save 1, named 0, stereo 1, soft 0, noise 15, counter 0, undo 10, style 1");
    // Each field lands in its own bits and comes back.
    const RenderOptionFields f{.numberSoundfiles = 1,
                               .saveSoundEveryRender = 0,
                               .soundfileNamedAfterImage = 1,
                               .softSweeps = 1,
                               .noiseBandwidth = 6,
                               .soundfileCounter = 99,
                               .undoLimit = 63,
                               .selectionStyle = 2};
    const std::uint32_t word = packRenderOptions(f);
    EXPECT_EQ(word, 0x1u | 0x4u | 0x8u | 0x10u | (6u << 5) | (99u << 9) | (63u << 24) | (2u << 30));
    EXPECT_EQ(fieldsText(unpackRenderOptions(word)), fieldsText(f));

    // Stereo clear, style 3, undo field 0, and the unused bits 16..23 set.
    const RenderOptionFields old = unpackRenderOptions(0xC0FF0002u);
    EXPECT_EQ(fieldsText(old),
              "number 0, save 1, named 0, stereo 1, soft 0, noise 0, counter 0, undo 10, style 1");
    EXPECT_EQ(packRenderOptions(old) & 0x00FF0000u, 0u);
    // Out-of-range fields are cut to their width when packed, never spill into their neighbours.
    const RenderOptionFields wide{.noiseBandwidth = 0x1F, .soundfileCounter = 0xFF};
    EXPECT_EQ(
        fieldsText(unpackRenderOptions(packRenderOptions(wide))),
        "number 0, save 1, named 0, stereo 1, soft 0, noise 15, counter 127, undo 10, style 1");
}

// (Spreading the fields over the records, the program options word: the store's round trip.)
TEST(SettingsSchema, ThousandthsAreUnsignedOnLoadAndTruncateOnSave) {
    EXPECT_EQ(std::tuple(fromThousandths(8000000), fromThousandths(0xFFFFFFFFu)),
              std::tuple(8000.0, 4294967.295));
    const std::pair<double, std::uint32_t> saved[] = {{5.0, 5000u},        {1234.5678, 1234567u},
                                                      {0.0009, 0u},  //
                                                      {2.9999, 2999u},     {-3.0, 0u},
                                                      {1e12, 0xFFFFFFFFu}, {std::nan(""), 0u}};
    for (const auto& [value, word] : saved)
        EXPECT_EQ(toThousandths(value), word) << value;
    // 1.001 * 1000 is 1000.999... in doubles: a plain truncation would lose a thousandth per exit.
    for (std::uint32_t w = 0; w < 300000; ++w)
        ASSERT_EQ(toThousandths(fromThousandths(w)), w);
    for (std::uint32_t w = 0xFFFFFFFFu; w > 0xFFFF0000u; --w)
        ASSERT_EQ(toThousandths(fromThousandths(w)), w);
    for (std::uint32_t w = 1; w < 0xFFFF0000u; w = w * 3 + 7)
        ASSERT_EQ(toThousandths(fromThousandths(w)), w);
}

}  // namespace
}  // namespace lumetra
