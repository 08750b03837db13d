#include "shell/settings_store.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "base/registry_error.h"
#include "memory_value_store.h"
#include "settings_samples.h"
#include "shell/settings_schema.h"

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
    EXPECT_EQ(dwordFrom(*store_.find(kWindows, "brush.show")), 1u);
    // (Each type and size: the round trip.) Echord records are 13 words each.
    const StoredValue* echord = store_.find(kBase, "Patches: Echord");
    ASSERT_TRUE(echord && echord->data.size() == 1040u);
    EXPECT_EQ(echord->data[12 * 4], 0u);  // record 0, word 12
    EXPECT_EQ(echord->data[52 + 12 * 4], 1u);
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

// Sizes below 10 and sample rates not above 0 take their defaults; the device is signed, the
// pitch unsigned.
TEST_F(SettingsStoreTest, LoadRules) {
    putDword(kBase, "Image width", 9);
    putDword(kBase, "Image height", 10);
    putDword(kBase, "Output sample rate", 0);
    PersistedSettings s = load();
    EXPECT_EQ(std::tuple(s.renderDefaults.width, s.renderDefaults.height, s.sound.sampleRate),
              std::tuple(300, 10, 22050));
    putDword(kBase, "Image width", 10);
    putDword(kBase, "Image height", 0x80000000u);
    putDword(kBase, "Output sample rate", 0xFFFFFFFFu);
    putDword(kBase, "Output device", 0xFFFFFFFFu);
    putDword(kBase, "Pitch:High", 0x80000000u);
    s = load();
    EXPECT_EQ(std::tuple(s.renderDefaults.width, s.renderDefaults.height, s.sound.sampleRate,
                         s.sound.device, s.renderDefaults.highFrequency),
              std::tuple(10, 150, 22050, -1, 2147483.648));
}

// Folder texts end at their terminator and count their length in wide characters: 127 two-byte
// characters and one four-byte one are 129; a text longer than 255 is dropped, not cut.
TEST_F(SettingsStoreTest, ValuesOfTheWrongTypeOrSizeOrTooLongLoadAsIfMissing) {
    PersistedSettings expected = load();
    const std::string fits = "C:\\" + std::string(252, 'a');
    std::string wide;
    for (int i = 0; i < 127; ++i)
        wide += "\xC3\xA9";
    wide += "\xF0\x9F\x8E\xB5";
    const std::pair<const std::string&, StoredValue> values[] = {
        {kBase, {"Image width", StoredType::Binary, {0x80, 2, 0, 0}}},
        {kBase, {"Image height", StoredType::Dword, {0x80, 2}}},
        {kBase, {"Output buffers", StoredType::Dword, {0, 0x10, 0, 4, 0}}},
        {kBase, {"Output sample rate", StoredType::String, {'4', '4', '1', 0}}},
        {kBase, {"Render options", StoredType::Dword, {}}},
        {kBase, {"Output time", StoredType::Other, {1, 2, 3, 4}}},
        {kBase, {"Patches: Brush", StoredType::Binary, std::vector<std::uint8_t>(575, 0xEE)}},
        {kBase, {"Patches: Echord", StoredType::Dword, std::vector<std::uint8_t>(1040, 1)}},
        {kWindows, {"main.x", StoredType::String, {'9', '9'}}},
        {kDirectories, textValue("Image", fits)},
        {kDirectories, textValue("Filter", fits + "b")},
        {kDirectories, textValue("Soundfile", wide)},
        {kDirectories, {"Analysed sounds", StoredType::String, {'D', ':', 0}}},
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
    BrushPatchBlock brushes{};  // record 0 all zero, as earlier builds wrote it
    const BrushPatch wide{.width = 4096, .height = 3, .flags = 0x844};
    writeBrushPatch(brushes, 1, wide);
    store_.put(kBase, binaryValue("Patches: Brush", brushes.bytes));
    const PersistedSettings s = load();
    for (std::size_t r = 0; r < kEchordPatchCount; ++r)
        EXPECT_EQ(s.echordPatches[r], r >= 1 && r <= 5 ? builtIn.echordPatches[r] : stored[r])
            << "record " << r;
    EXPECT_EQ(readBrushPatch(s.brushPatches, 0), readBrushPatch(builtIn.brushPatches, 0));
    EXPECT_EQ(readBrushPatch(s.brushPatches, 1), wide);
}

TEST_F(SettingsStoreTest, DefaultsFollowValuesLoadedEarlierAndHugeOnesNeverOverflow) {
    const std::pair<const char*, std::uint32_t> places[] = {{"main.x", 100},  {"main.y", 60},
                                                            {"main.w", 700},  {"main.h", 300},
                                                            {"brush.x", 200}, {"imgbr.y", 150}};
    for (const auto& [name, word] : places)
        putDword(kWindows, name, word);
    EXPECT_EQ(test::layoutText(load().layout),
              "main 100 60 700 300 show 5, brush 200 360 show 1, echord 476 360 show 5, "
              "render 350 106 show 0, browser 808 150 370 750 show 5");
    for (const auto& [name, word] : places)
        putDword(kWindows, name, 0x7FFFFFFFu);
    const WindowLayout l = load().layout;
    EXPECT_EQ(l.mainX, 50);
    EXPECT_TRUE(pointOnScreen(l.echordX, l.echordY, kScreen) &&
                pointOnScreen(l.renderX, l.renderY, kScreen));
}

TEST_F(SettingsStoreTest, AKeyThatCannotBeOpenedEndsThePass) {
    for (const std::string& failing : {kBase, kWindows, kDirectories}) {
        test::MemoryValueStore store;
        store.put(kBase, dwordValue("Image width", 777));
        store.put(kWindows, dwordValue("main.x", 77));
        store.put(kDirectories, textValue("Image", "C:\\X\\"));
        store.failingKeys = {failing};
        PersistedSettings s = freshSettings();
        EXPECT_FALSE(SettingsStore(store).load(s, kScreen)) << failing;
        EXPECT_EQ(s.renderDefaults.width, failing == kBase ? 300 : 777);
        EXPECT_EQ(s.layout.mainX, failing == kDirectories ? 77 : 8);
        EXPECT_EQ(s.folders.imageFolder, "");

        test::MemoryValueStore target;
        target.failingKeys = {failing};
        EXPECT_FALSE(SettingsStore(target).save(s, MainWindowPlacement{}));
        EXPECT_EQ(target.find(kBase, "Image width") != nullptr, failing != kBase);
        EXPECT_EQ(target.find(kWindows, "main.x") != nullptr, failing == kDirectories);
        EXPECT_EQ(target.find(kDirectories, "Image"), nullptr);
    }
}

TEST_F(SettingsStoreTest, AFailedWriteIsRecordedAndThePassGoesOn) {
    store_.failingWrites = {"Output device"};
    store_.writeErrorCode = 13;
    PersistedSettings s = freshSettings();
    SettingsStore settings(store_);
    EXPECT_TRUE(settings.save(s, MainWindowPlacement{}));
    EXPECT_EQ(settings.errorMessage(), systemErrorText(13));
    EXPECT_TRUE(!store_.find(kBase, "Output device") &&
                store_.find(kDirectories, "Analysed sounds"));
    // What the exit shows the user instead of dropping it.
    EXPECT_EQ(settingsNotSavedText(settings.errorMessage()),
              "The settings may not have been saved.\n" + systemErrorText(13));
}

}  // namespace
}  // namespace lumetra
