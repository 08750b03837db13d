#include "shell/settings_store.h"

#include <gtest/gtest.h>

#include "memory_value_store.h"
#include "shell/registry_error.h"
#include "shell/settings_schema.h"

namespace lumetra {
namespace {

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

StoredValue dword(const std::string& name, std::uint32_t v) {
    return dwordValue(name, v);
}

std::uint32_t storedDword(const MemoryValueStore& store, const std::string& key,
                          const std::string& name) {
    const StoredValue* v = store.find(key, name);
    EXPECT_NE(v, nullptr) << name;
    return v ? dwordFrom(*v).value_or(0xDEADBEEF) : 0xDEADBEEF;
}

TEST(SettingsStore, EmptyStoreLoadsTheDefaults) {
    MemoryValueStore store;
    PersistedSettings s = freshSettings();
    const PersistedSettings before = s;
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));

    EXPECT_EQ(s.renderDefaults.width, 300);
    EXPECT_EQ(s.renderDefaults.height, 150);
    EXPECT_EQ(s.sound.bufferCount, 8);
    EXPECT_EQ(s.sound.bufferSize, 4096);
    EXPECT_EQ(s.sound.sampleRate, 22050);
    EXPECT_EQ(s.sound.device, 0);
    EXPECT_EQ(s.sound.stereo, 1);
    EXPECT_EQ(s.renderDefaults.outputTime, 5.0);
    EXPECT_EQ(s.renderDefaults.lowFrequency, 50.0);
    EXPECT_EQ(s.renderDefaults.highFrequency, 8000.0);
    EXPECT_EQ(s.renderDefaults.ampFactor, 10.0);
    EXPECT_EQ(s.renderDefaults.noiseBandwidth, 15);
    EXPECT_EQ(s.renderDefaults.softSweeps, 0);
    EXPECT_EQ(s.shell.saveSoundEveryRender, 1);
    EXPECT_EQ(s.shell.numberSoundfiles, 0);
    EXPECT_EQ(s.shell.soundfileNamedAfterImage, 0);
    EXPECT_EQ(s.shell.soundfileCounter, 0);
    EXPECT_EQ(s.shell.selectionStyle, SelectionStyle::Brighten);
    EXPECT_EQ(s.shell.dragDecoration, 5);
    EXPECT_EQ(s.shell.undoLimit, 10);
    EXPECT_EQ(s.shell.attachRenderInfo, 0);
    EXPECT_EQ(s.layout.mainX, 50);
    EXPECT_EQ(s.layout.mainY, 50);
    EXPECT_EQ(s.layout.mainWidth, 540);
    EXPECT_EQ(s.layout.mainHeight, 280);
    EXPECT_EQ(s.layout.mainShow, 5);
    EXPECT_EQ(s.layout.renderShow, 0);
    EXPECT_EQ(s.layout.browserShow, 5);
    EXPECT_EQ(s.layout.echordShow, 5);
    EXPECT_EQ(s.layout.brushShow, 1);
    EXPECT_EQ(s.layout.brushX, 50);
    EXPECT_EQ(s.layout.brushY, 330);
    EXPECT_EQ(s.layout.echordX, 326);
    EXPECT_EQ(s.layout.browserX, 370);
    EXPECT_EQ(s.layout.browserBottom, 406);
    EXPECT_EQ(s.folders, ProgramFolders{});
    EXPECT_EQ(s.brushPatches, before.brushPatches);
    EXPECT_EQ(s.echordPatches, before.echordPatches);
    EXPECT_EQ(store.valueCount(), 0u);  // loading never writes
}

TEST(SettingsStore, LoadAndSaveVisitTheValuesInTheSameOrder) {
    MemoryValueStore store;
    PersistedSettings s = freshSettings();
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));
    const std::vector<std::string> readOrder = store.readNames;
    ASSERT_TRUE(SettingsStore(store).save(s, MainWindowPlacement{50, 50, 590, 330, 1, false}));
    EXPECT_EQ(store.writtenNames, readOrder);
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
    EXPECT_EQ(store.openedKeys, (std::vector<std::string>{kBase, kWindows, kDirectories, kBase,
                                                          kWindows, kDirectories}));
}

TEST(SettingsStore, SaveWritesTheDefaultWordsAndTypes) {
    MemoryValueStore store;
    PersistedSettings s = freshSettings();
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));
    ASSERT_TRUE(SettingsStore(store).save(s, MainWindowPlacement{50, 50, 590, 330, 1, false}));
    EXPECT_EQ(storedDword(store, kBase, "Output buffers"), 0x08001000u);
    EXPECT_EQ(storedDword(store, kBase, "Render options"), 0x4A0001EAu);
    EXPECT_EQ(storedDword(store, kBase, "Program options"), 0u);
    EXPECT_EQ(storedDword(store, kBase, "Output time"), 5000u);
    EXPECT_EQ(storedDword(store, kBase, "Pitch:Low"), 50000u);
    EXPECT_EQ(storedDword(store, kBase, "Pitch:High"), 8000000u);
    EXPECT_EQ(storedDword(store, kBase, "Output amp"), 10000u);
    EXPECT_EQ(storedDword(store, kWindows, "brush.show"), 1u);
    const StoredValue* brush = store.find(kBase, "Patches: Brush");
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->type, StoredType::Binary);
    EXPECT_EQ(brush->data.size(), 576u);
    const StoredValue* echord = store.find(kBase, "Patches: Echord");
    ASSERT_NE(echord, nullptr);
    EXPECT_EQ(echord->data.size(), 1040u);
    EXPECT_EQ(echord->data[12 * 4], 0u);  // record 0, word 12
    EXPECT_EQ(echord->data[52 + 12 * 4], 1u);
    const StoredValue* image = store.find(kDirectories, "Image");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->type, StoredType::String);
    EXPECT_TRUE(image->data.empty());
}

TEST(SettingsStore, RoundTripKeepsEveryValue) {
    PersistedSettings s = freshSettings();
    s.renderDefaults.width = 640;
    s.renderDefaults.height = 222;
    s.renderDefaults.outputTime = 12.345;
    s.renderDefaults.lowFrequency = 27.5;
    s.renderDefaults.highFrequency = 11025.125;
    s.renderDefaults.ampFactor = 1.001;
    s.renderDefaults.softSweeps = 1;
    s.renderDefaults.noiseBandwidth = 3;
    s.sound.bufferCount = 12;
    s.sound.bufferSize = 1024;
    s.sound.sampleRate = 44100;
    s.sound.device = -1;
    s.shell.attachRenderInfo = 1;
    s.shell.saveSoundEveryRender = 0;
    s.shell.soundfileNamedAfterImage = 1;
    s.shell.numberSoundfiles = 1;
    s.shell.soundfileCounter = 42;
    s.shell.selectionStyle = SelectionStyle::Inverted;
    s.shell.undoLimit = 25;
    s.layout.brushX = 11;
    s.layout.brushY = 12;
    s.layout.echordX = 13;
    s.layout.echordY = 14;
    s.layout.echordShow = 6;
    s.layout.renderX = 15;
    s.layout.renderY = 16;
    s.layout.renderShow = 5;
    s.layout.browserX = 100;
    s.layout.browserY = 200;
    s.layout.browserWidth = 300;
    s.layout.browserBottom = 700;
    s.layout.browserShow = 0;
    s.folders.imageFolder = "C:\\Bilder\\Gr\xC3\xBC\x6E\\";
    s.folders.filterFolder = "D:\\Filters";
    s.folders.soundfileFolder = "E:\\Sound\\";
    s.folders.analysesFolder = "F:\\A\\";
    s.echordPatches[3].words = {45, -90, 7, 8, 9, 10, 11, -12, 13, 14, 1, 0, 1};
    s.brushPatches.bytes[100] = 0xAB;

    MemoryValueStore store;
    ASSERT_TRUE(SettingsStore(store).save(s, MainWindowPlacement{30, 40, 830, 640, 3, false}));
    PersistedSettings back = freshSettings();
    ASSERT_TRUE(SettingsStore(store).load(back, kScreen));

    EXPECT_EQ(back.renderDefaults.width, 640);
    EXPECT_EQ(back.renderDefaults.height, 222);
    EXPECT_EQ(back.renderDefaults.outputTime, 12.345);
    EXPECT_EQ(back.renderDefaults.lowFrequency, 27.5);
    EXPECT_EQ(back.renderDefaults.highFrequency, 11025.125);
    EXPECT_EQ(back.renderDefaults.ampFactor, 1.001);
    EXPECT_EQ(back.renderDefaults.softSweeps, 1);
    EXPECT_EQ(back.renderDefaults.noiseBandwidth, 3);
    EXPECT_EQ(back.sound.bufferCount, 12);
    EXPECT_EQ(back.sound.bufferSize, 1024);
    EXPECT_EQ(back.sound.sampleRate, 44100);
    EXPECT_EQ(back.sound.device, -1);
    EXPECT_EQ(back.shell.attachRenderInfo, 1);
    EXPECT_EQ(back.shell.saveSoundEveryRender, 0);
    EXPECT_EQ(back.shell.soundfileNamedAfterImage, 1);
    EXPECT_EQ(back.shell.numberSoundfiles, 1);
    EXPECT_EQ(back.shell.soundfileCounter, 42);
    EXPECT_EQ(back.shell.selectionStyle, SelectionStyle::Inverted);
    EXPECT_EQ(back.shell.dragDecoration, 6);
    EXPECT_EQ(back.shell.undoLimit, 25);
    WindowLayout expected = s.layout;
    expected.mainX = 30;
    expected.mainY = 40;
    expected.mainWidth = 800;
    expected.mainHeight = 600;
    expected.mainShow = 3;
    expected.brushShow = 1;
    EXPECT_EQ(back.layout, expected);
    EXPECT_EQ(back.folders, s.folders);
    EXPECT_EQ(back.brushPatches, s.brushPatches);
    EXPECT_EQ(back.echordPatches, s.echordPatches);
}

TEST(SettingsStore, LoadRules) {
    MemoryValueStore store;
    store.put(kBase, dword("Image width", 5));
    store.put(kBase, dword("Image height", 9));
    store.put(kBase, dword("Output sample rate", 0));
    store.put(kBase, dword("Render options", 0xC0000000u));  // stereo clear, style 3, undo 0
    PersistedSettings s = freshSettings();
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));
    EXPECT_EQ(s.renderDefaults.width, 300);
    EXPECT_EQ(s.renderDefaults.height, 150);
    EXPECT_EQ(s.sound.sampleRate, 22050);
    EXPECT_EQ(s.sound.stereo, 1);
    EXPECT_EQ(s.shell.selectionStyle, SelectionStyle::Brighten);
    EXPECT_EQ(s.shell.undoLimit, 10);
    EXPECT_EQ(s.shell.saveSoundEveryRender, 0);  // the stored word is taken, bit by bit
    EXPECT_EQ(s.renderDefaults.noiseBandwidth, 0);

    store.put(kBase, dword("Image width", 10));
    store.put(kBase, dword("Image height", 0x80000000u));  // negative as a signed size
    store.put(kBase, dword("Output sample rate", 0xFFFFFFFFu));
    store.put(kBase, dword("Output device", 0xFFFFFFFFu));
    store.put(kBase, dword("Pitch:High", 0x80000000u));
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));
    EXPECT_EQ(s.renderDefaults.width, 10);
    EXPECT_EQ(s.renderDefaults.height, 150);
    EXPECT_EQ(s.sound.sampleRate, 22050);
    EXPECT_EQ(s.sound.device, -1);
    EXPECT_EQ(s.renderDefaults.highFrequency, 2147483.648);
}

TEST(SettingsStore, ValuesOfTheWrongTypeOrSizeLoadAsDefaults) {
    MemoryValueStore store;
    store.put(kBase, StoredValue{"Image width", StoredType::Binary, {0x80, 2, 0, 0}});
    store.put(kBase, StoredValue{"Image height", StoredType::Dword, {0x80, 2}});
    store.put(kBase, StoredValue{"Output buffers", StoredType::Dword, {0, 0x10, 0, 4, 0}});
    store.put(kBase, StoredValue{"Output sample rate", StoredType::String, {'4', '4', '1', 0}});
    store.put(kBase, StoredValue{"Render options", StoredType::Dword, {}});
    store.put(kBase, StoredValue{"Output time", StoredType::Other, {1, 2, 3, 4}});
    store.put(kBase, StoredValue{"Patches: Brush", StoredType::Binary,
                                 std::vector<std::uint8_t>(575, 0xEE)});
    store.put(kBase, StoredValue{"Patches: Echord", StoredType::Dword,
                                 std::vector<std::uint8_t>(1040, 0x01)});
    store.put(kWindows, StoredValue{"main.x", StoredType::String, {'9', '9'}});
    store.put(kDirectories, dword("Image", 12));
    store.put(kDirectories, StoredValue{"Filter", StoredType::Binary, {'C', ':', '\\'}});
    PersistedSettings s = freshSettings();
    s.folders.imageFolder = "stale";
    const PersistedSettings before = s;
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));
    EXPECT_EQ(s.renderDefaults.width, 300);
    EXPECT_EQ(s.renderDefaults.height, 150);
    EXPECT_EQ(s.sound.bufferCount, 8);
    EXPECT_EQ(s.sound.bufferSize, 4096);
    EXPECT_EQ(s.sound.sampleRate, 22050);
    EXPECT_EQ(s.shell.saveSoundEveryRender, 1);
    EXPECT_EQ(s.renderDefaults.outputTime, 5.0);
    EXPECT_EQ(s.brushPatches, before.brushPatches);
    EXPECT_EQ(s.echordPatches, before.echordPatches);
    EXPECT_EQ(s.layout.mainX, 50);
    EXPECT_EQ(s.folders.imageFolder, "");
    EXPECT_EQ(s.folders.filterFolder, "");
}

TEST(SettingsStore, MultiStringAndTerminatedTextsReadAsTheirText) {
    MemoryValueStore store;
    store.put(kDirectories,
              StoredValue{"Image", StoredType::MultiString, {'C', ':', '\\', 'A', 0, 'B', 0, 0}});
    store.put(kDirectories, StoredValue{"Filter", StoredType::String, {'D', ':', '\\', 0}});
    PersistedSettings s = freshSettings();
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));
    EXPECT_EQ(s.folders.imageFolder, "C:\\A");
    EXPECT_EQ(s.folders.filterFolder, "D:\\");
}

TEST(SettingsStore, FolderPathsLongerThanTheFieldsAreDropped) {
    MemoryValueStore store;
    const std::string fits = "C:\\" + std::string(252, 'a');
    const std::string tooLong = fits + "b";
    // 127 two-byte characters and one four-byte one (two wide characters): 129 wide characters.
    std::string wide;
    for (int i = 0; i < 127; ++i)
        wide += "\xC3\xA9";
    wide += "\xF0\x9F\x8E\xB5";
    store.put(kDirectories, textValue("Image", fits));
    store.put(kDirectories, textValue("Filter", tooLong));
    store.put(kDirectories, textValue("Soundfile", wide));
    PersistedSettings s = freshSettings();
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));
    EXPECT_EQ(s.folders.imageFolder, fits);
    EXPECT_EQ(s.folders.filterFolder, "");
    EXPECT_EQ(s.folders.soundfileFolder, wide);
}

TEST(SettingsStore, EchordRecordsAreTakenOneByOne) {
    PersistedSettings s = freshSettings();
    const EchordPatchTable builtIn = s.echordPatches;
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
    MemoryValueStore store;
    const auto bytes = encodeEchordPatches(stored);
    store.put(kBase, binaryValue("Patches: Echord", bytes));
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));
    for (std::size_t r = 0; r < kEchordPatchCount; ++r) {
        const bool skipped = r >= 1 && r <= 5;
        EXPECT_EQ(s.echordPatches[r], skipped ? builtIn[r] : stored[r]) << "record " << r;
    }
}

TEST(SettingsStore, BrushPatchBlockIsTakenWhole) {
    MemoryValueStore store;
    std::vector<std::uint8_t> block(576);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = std::uint8_t(255 - i % 200);
    store.put(kBase, StoredValue{"Patches: Brush", StoredType::Binary, block});
    PersistedSettings s = freshSettings();
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));
    EXPECT_TRUE(std::equal(block.begin(), block.end(), s.brushPatches.bytes.begin()));
}

TEST(SettingsStore, OffScreenWindowsComeBackOnScreen) {
    MemoryValueStore store;
    store.put(kWindows, dword("main.x", 3000));
    store.put(kWindows, dword("main.y", 100));
    store.put(kWindows, dword("brush.x", 3000));
    store.put(kWindows, dword("brush.y", 400));
    store.put(kWindows, dword("brush.show", 0));
    store.put(kWindows, dword("imgbr.x", static_cast<std::uint32_t>(-500)));
    store.put(kWindows, dword("echord.show", 6));
    store.put(kWindows, dword("main.cmdshow", 0));
    PersistedSettings s = freshSettings();
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));
    EXPECT_EQ(s.layout.mainX, 50);
    EXPECT_EQ(s.layout.mainY, 50);
    EXPECT_EQ(s.layout.mainWidth, 540);
    EXPECT_EQ(s.layout.mainHeight, 280);
    EXPECT_EQ(s.layout.mainShow, 1);
    EXPECT_EQ(s.layout.brushX, 50);
    EXPECT_EQ(s.layout.brushY, 330);
    EXPECT_EQ(s.layout.brushShow, 1);
    // Echord's default follows the stored (off-screen) brush.x and is then moved back as well.
    EXPECT_EQ(s.layout.echordX, 80);
    EXPECT_EQ(s.layout.echordY, 345);
    EXPECT_EQ(s.layout.echordShow, 6);
    EXPECT_EQ(s.layout.browserX, 370);
    EXPECT_EQ(s.layout.browserY, 76);
}

TEST(SettingsStore, DefaultsFollowValuesLoadedEarlierInThePass) {
    MemoryValueStore store;
    store.put(kWindows, dword("main.x", 100));
    store.put(kWindows, dword("main.y", 60));
    store.put(kWindows, dword("main.w", 700));
    store.put(kWindows, dword("main.h", 300));
    store.put(kWindows, dword("brush.x", 200));
    store.put(kWindows, dword("imgbr.y", 150));
    PersistedSettings s = freshSettings();
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));
    EXPECT_EQ(s.layout.brushY, 360);
    EXPECT_EQ(s.layout.echordX, 476);
    EXPECT_EQ(s.layout.echordY, 360);
    EXPECT_EQ(s.layout.renderX, 350);
    EXPECT_EQ(s.layout.renderY, 106);
    EXPECT_EQ(s.layout.browserX, 580);
    EXPECT_EQ(s.layout.browserY, 150);
    EXPECT_EQ(s.layout.browserBottom, 480);
}

TEST(SettingsStore, HugeStoredNumbersNeverOverflow) {
    MemoryValueStore store;
    for (const char* name : {"main.x", "main.y", "main.w", "main.h", "brush.x", "imgbr.y"})
        store.put(kWindows, dword(name, 0x7FFFFFFFu));
    PersistedSettings s = freshSettings();
    ASSERT_TRUE(SettingsStore(store).load(s, kScreen));
    EXPECT_EQ(s.layout.mainX, 50);
    EXPECT_TRUE(pointOnScreen(s.layout.echordX, s.layout.echordY, kScreen));
    EXPECT_TRUE(pointOnScreen(s.layout.renderX, s.layout.renderY, kScreen));
}

TEST(SettingsStore, SavingWhileMinimizedStoresShown) {
    MemoryValueStore store;
    PersistedSettings s = freshSettings();
    ASSERT_TRUE(SettingsStore(store).save(s, MainWindowPlacement{10, 10, 500, 400, 2, true}));
    EXPECT_EQ(storedDword(store, kWindows, "main.cmdshow"), 5u);
    EXPECT_EQ(storedDword(store, kWindows, "main.w"), 490u);
}

TEST(SettingsStore, AKeyThatCannotBeOpenedEndsThePass) {
    for (const std::string& failing : {kBase, kWindows, kDirectories}) {
        MemoryValueStore store;
        store.put(kBase, dword("Image width", 777));
        store.put(kWindows, dword("main.x", 77));
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

TEST(SettingsStore, AFailedWriteIsRecordedAndThePassGoesOn) {
    MemoryValueStore store;
    store.failingWrites = {"Output device"};
    store.writeErrorCode = 13;
    PersistedSettings s = freshSettings();
    SettingsStore settings(store);
    EXPECT_TRUE(settings.save(s, MainWindowPlacement{}));
    EXPECT_EQ(settings.errorMessage(), systemErrorText(13));
    EXPECT_EQ(settings.errorMessage().rfind("Error 13: ", 0), 0u);
    EXPECT_EQ(store.find(kBase, "Output device"), nullptr);
    EXPECT_NE(store.find(kBase, "Render options"), nullptr);
    EXPECT_NE(store.find(kDirectories, "Analysed sounds"), nullptr);
}

}  // namespace
}  // namespace lumetra
