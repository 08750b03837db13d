#include "shell/settings_store.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "base/registry_error.h"
#include "memory_value_store.h"
#include "settings_samples.h"
#include "shell/settings_schema.h"

namespace lumetra {
namespace {

using test::layoutText;
using test::loadedFieldsText;
using test::MemoryValueStore;

constexpr ScreenSize kScreen{1280, 1024};
const std::string kBase;
const std::string kWindows = "Windows\\";
const std::string kDirectories = "Directories\\";

// The in-memory settings as a fresh start has them, with recognisable built-in patch tables.
PersistedSettings freshSettings() {
    PersistedSettings s;
    for (std::size_t i = 0; i < s.brushPatches.bytes.size(); ++i)
        s.brushPatches.bytes[i] = std::uint8_t(i * 7);
    for (std::size_t r = 0; r < kEchordPatchCount; ++r) {
        s.echordPatches[r].words[0] = 90;
        s.echordPatches[r].words[12] = std::int32_t(r);
    }
    return s;
}

class SettingsStoreTest : public ::testing::Test {
  protected:
    // Fresh settings after a load of the store, which must open every key.
    PersistedSettings load() {
        PersistedSettings s = freshSettings();
        EXPECT_TRUE(SettingsStore(store_).load(s, kScreen));
        return s;
    }
    void putDword(const std::string& key, const std::string& name, std::uint32_t word) {
        store_.put(key, dwordValue(name, word));
    }
    std::uint32_t storedDword(const std::string& key, const std::string& name) {
        const StoredValue* v = store_.find(key, name);
        EXPECT_NE(v, nullptr) << name;
        return v ? dwordFrom(*v).value_or(0xDEADBEEF) : 0xDEADBEEF;
    }

    MemoryValueStore store_;
};

TEST_F(SettingsStoreTest, AnEmptyStoreLoadsTheRecordsDefaults) {
    const PersistedSettings s = load();
    EXPECT_EQ(store_.valueCount(), 0u);  // loading never writes
    // The built-in patch tables stay; the brush dialog always comes up shown.
    PersistedSettings expected = freshSettings();
    expected.layout.brushShow = kShowNormal;
    EXPECT_EQ(loadedFieldsText(s), loadedFieldsText(expected));
}

TEST_F(SettingsStoreTest, SaveVisitsTheValuesInTheLoadsOrderAndWritesTheDefaultWords) {
    PersistedSettings s = load();
    const std::vector<std::string> readOrder = store_.readNames;
    ASSERT_TRUE(SettingsStore(store_).save(s, MainWindowPlacement{50, 50, 590, 330, 1, false}));
    EXPECT_EQ(store_.writtenNames, readOrder);
    const std::vector<std::string> expected = {
        "Image width",     "Image height",   "Output buffers",  "Output sample rate",
        "Output device",   "Render options", "Program options", "Output time",
        "Pitch:Low",       "Pitch:High",     "Output amp",      "Patches: Brush",
        "Patches: Echord", "main.x",         "main.y",          "main.w",
        "main.h",          "main.cmdshow",   "brush.x",         "brush.y",
        "brush.show",      "echord.x",       "echord.y",        "echord.show",
        "rndr.x",          "rndr.y",         "rndr.show",       "imgbr.x",
        "imgbr.y",         "imgbr.w",        "imgbr.h",         "imgbr.show",
        "Image",           "Filter",         "Soundfile",       "Analysed sounds"};
    EXPECT_EQ(readOrder, expected);
    EXPECT_EQ(store_.openedKeys, (std::vector<std::string>{kBase, kWindows, kDirectories, kBase,
                                                           kWindows, kDirectories}));

    const struct {
        const char* name;
        std::uint32_t word;
    } words[] = {
        {"Image width", 300},          {"Image height", 150}, {"Output buffers", 0x08001000},
        {"Output sample rate", 22050}, {"Output device", 0},  {"Render options", 0x4A0001EA},
        {"Program options", 0},        {"Output time", 5000}, {"Pitch:Low", 50000},
        {"Pitch:High", 8000000},       {"Output amp", 10000},
    };
    for (const auto& w : words)
        EXPECT_EQ(storedDword(kBase, w.name), w.word) << w.name;
    EXPECT_EQ(storedDword(kWindows, "brush.show"), 1u);
    const StoredValue* brush = store_.find(kBase, "Patches: Brush");
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->type, StoredType::Binary);
    EXPECT_EQ(brush->data.size(), 576u);
    const StoredValue* echord = store_.find(kBase, "Patches: Echord");
    ASSERT_NE(echord, nullptr);
    EXPECT_EQ(echord->data.size(), 1040u);
    EXPECT_EQ(echord->data[12 * 4], 0u);  // record 0, word 12
    EXPECT_EQ(echord->data[52 + 12 * 4], 1u);
    const StoredValue* image = store_.find(kDirectories, "Image");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->type, StoredType::String);
    EXPECT_TRUE(image->data.empty());
}

TEST_F(SettingsStoreTest, RoundTripKeepsEveryValue) {
    PersistedSettings s = test::unusualSettings();
    ASSERT_TRUE(SettingsStore(store_).save(s, MainWindowPlacement{30, 40, 830, 640, 3, false}));
    // The save records the main window's place; everything else comes back as it was.
    PersistedSettings expected = test::unusualSettings();
    expected.layout.mainX = 30;
    expected.layout.mainY = 40;
    expected.layout.mainWidth = 800;
    expected.layout.mainHeight = 600;
    expected.layout.mainShow = 3;
    EXPECT_EQ(loadedFieldsText(load()), loadedFieldsText(expected));
}

TEST_F(SettingsStoreTest, LoadRules) {
    putDword(kBase, "Image width", 5);
    putDword(kBase, "Image height", 9);
    putDword(kBase, "Output sample rate", 0);
    PersistedSettings s = load();
    EXPECT_EQ(s.renderDefaults.width, 300);
    EXPECT_EQ(s.renderDefaults.height, 150);
    EXPECT_EQ(s.sound.sampleRate, 22050);

    putDword(kBase, "Image width", 10);
    putDword(kBase, "Image height", 0x80000000u);  // negative as a signed size
    putDword(kBase, "Output sample rate", 0xFFFFFFFFu);
    putDword(kBase, "Output device", 0xFFFFFFFFu);
    putDword(kBase, "Pitch:High", 0x80000000u);
    s = load();
    EXPECT_EQ(s.renderDefaults.width, 10);
    EXPECT_EQ(s.renderDefaults.height, 150);
    EXPECT_EQ(s.sound.sampleRate, 22050);
    EXPECT_EQ(s.sound.device, -1);
    EXPECT_EQ(s.renderDefaults.highFrequency, 2147483.648);
}

TEST_F(SettingsStoreTest, ValuesOfTheWrongTypeOrSizeLoadAsIfMissing) {
    const PersistedSettings defaults = load();
    store_.put(kBase, StoredValue{"Image width", StoredType::Binary, {0x80, 2, 0, 0}});
    store_.put(kBase, StoredValue{"Image height", StoredType::Dword, {0x80, 2}});
    store_.put(kBase, StoredValue{"Output buffers", StoredType::Dword, {0, 0x10, 0, 4, 0}});
    store_.put(kBase, StoredValue{"Output sample rate", StoredType::String, {'4', '4', '1', 0}});
    store_.put(kBase, StoredValue{"Render options", StoredType::Dword, {}});
    store_.put(kBase, StoredValue{"Output time", StoredType::Other, {1, 2, 3, 4}});
    store_.put(kBase, StoredValue{"Patches: Brush", StoredType::Binary,
                                  std::vector<std::uint8_t>(575, 0xEE)});
    store_.put(kBase, StoredValue{"Patches: Echord", StoredType::Dword,
                                  std::vector<std::uint8_t>(1040, 0x01)});
    store_.put(kWindows, StoredValue{"main.x", StoredType::String, {'9', '9'}});
    store_.put(kDirectories, dwordValue("Image", 12));
    store_.put(kDirectories, StoredValue{"Filter", StoredType::Binary, {'C', ':', '\\'}});
    PersistedSettings s = freshSettings();
    s.folders.imageFolder = "stale";  // cleared, not kept
    ASSERT_TRUE(SettingsStore(store_).load(s, kScreen));
    EXPECT_EQ(loadedFieldsText(s), loadedFieldsText(defaults));
}

TEST_F(SettingsStoreTest, ATextStoredWithATerminatorReadsAsItsText) {
    // (A multi-string reads as its first part: FileListTest.LoadTakesExistingStringEntries...)
    store_.put(kDirectories, StoredValue{"Filter", StoredType::String, {'D', ':', '\\', 0}});
    EXPECT_EQ(utf8FromPath(load().folders.filterFolder), "D:\\");
}

TEST_F(SettingsStoreTest, FolderPathsLongerThanTheFieldsAreDropped) {
    const std::string fits = "C:\\" + std::string(252, 'a');
    const std::string tooLong = fits + "b";
    // 127 two-byte characters and one four-byte one (two wide characters): 129 wide characters.
    std::string wide;
    for (int i = 0; i < 127; ++i)
        wide += "\xC3\xA9";
    wide += "\xF0\x9F\x8E\xB5";
    store_.put(kDirectories, textValue("Image", fits));
    store_.put(kDirectories, textValue("Filter", tooLong));
    store_.put(kDirectories, textValue("Soundfile", wide));
    const PersistedSettings s = load();
    EXPECT_EQ(utf8FromPath(s.folders.imageFolder), fits);
    EXPECT_EQ(utf8FromPath(s.folders.filterFolder), "");
    EXPECT_EQ(utf8FromPath(s.folders.soundfileFolder), wide);
}

TEST_F(SettingsStoreTest, EchordRecordsAreTakenOneByOne) {
    const EchordPatchTable builtIn = freshSettings().echordPatches;
    EchordPatchTable stored{};
    for (std::size_t r = 0; r < kEchordPatchCount; ++r) {
        stored[r].words = {180, 5, 50, 3, 4, 5, 10, 0, 0, 0, 0, 0, std::int32_t(100 + r)};
    }
    stored[1].words[EchordPatch::kNum] = 0;
    stored[2].words[EchordPatch::kNum] = 101;
    stored[3].words[EchordPatch::kHop] = 0;
    stored[4].words[EchordPatch::kHop] = 500;
    stored[5].words[EchordPatch::kNum] = -5;
    stored[6].words[EchordPatch::kNum] = 1;
    stored[6].words[EchordPatch::kHop] = 1;
    stored[7].words[EchordPatch::kNum] = 100;
    stored[7].words[EchordPatch::kHop] = 499;
    store_.put(kBase, binaryValue("Patches: Echord", encodeEchordPatches(stored)));
    const PersistedSettings s = load();
    for (std::size_t r = 0; r < kEchordPatchCount; ++r) {
        const bool skipped = r >= 1 && r <= 5;
        EXPECT_EQ(s.echordPatches[r], skipped ? builtIn[r] : stored[r]) << "record " << r;
    }
}

TEST_F(SettingsStoreTest, BrushRecordsAreTakenOneByOne) {
    const BrushPatchBlock builtIn = freshSettings().brushPatches;
    BrushPatchBlock stored{};  // record 0 all zero, as earlier builds wrote it
    BrushPatch wide;
    wide.width = 4096;
    wide.height = 3;
    wide.flags = 0x844;
    writeBrushPatch(stored, 1, wide);
    store_.put(kBase, binaryValue("Patches: Brush", stored.bytes));
    const PersistedSettings s = load();
    EXPECT_EQ(readBrushPatch(s.brushPatches, 0), readBrushPatch(builtIn, 0));
    EXPECT_EQ(readBrushPatch(s.brushPatches, 1), wide);
}

TEST_F(SettingsStoreTest, DefaultsFollowValuesLoadedEarlierInThePass) {
    putDword(kWindows, "main.x", 100);
    putDword(kWindows, "main.y", 60);
    putDword(kWindows, "main.w", 700);
    putDword(kWindows, "main.h", 300);
    putDword(kWindows, "brush.x", 200);
    putDword(kWindows, "imgbr.y", 150);
    EXPECT_EQ(layoutText(load().layout),
              "main 100 60 700 300 show 5, brush 200 360 show 1, echord 476 360 show 5, "
              "render 350 106 show 0, browser 580 150 370 480 show 5");
}

TEST_F(SettingsStoreTest, HugeStoredNumbersNeverOverflow) {
    for (const char* name : {"main.x", "main.y", "main.w", "main.h", "brush.x", "imgbr.y"})
        putDword(kWindows, name, 0x7FFFFFFFu);
    const PersistedSettings s = load();
    EXPECT_EQ(s.layout.mainX, 50);
    EXPECT_TRUE(pointOnScreen(s.layout.echordX, s.layout.echordY, kScreen));
    EXPECT_TRUE(pointOnScreen(s.layout.renderX, s.layout.renderY, kScreen));
}

TEST_F(SettingsStoreTest, AKeyThatCannotBeOpenedEndsThePass) {
    for (const std::string& failing : {kBase, kWindows, kDirectories}) {
        MemoryValueStore store;
        store.put(kBase, dwordValue("Image width", 777));
        store.put(kWindows, dwordValue("main.x", 77));
        store.put(kDirectories, textValue("Image", "C:\\X\\"));
        store.failingKeys = {failing};
        PersistedSettings s = freshSettings();
        EXPECT_FALSE(SettingsStore(store).load(s, kScreen)) << failing;
        EXPECT_EQ(s.renderDefaults.width, failing == kBase ? 300 : 777);
        EXPECT_EQ(s.layout.mainX, failing == kDirectories ? 77 : 50);
        EXPECT_EQ(s.folders.imageFolder, "");

        MemoryValueStore target;
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
    EXPECT_EQ(settings.errorMessage().rfind("Error 13: ", 0), 0u);
    EXPECT_EQ(store_.find(kBase, "Output device"), nullptr);
    EXPECT_NE(store_.find(kBase, "Render options"), nullptr);
    EXPECT_NE(store_.find(kDirectories, "Analysed sounds"), nullptr);
}

}  // namespace
}  // namespace lumetra
