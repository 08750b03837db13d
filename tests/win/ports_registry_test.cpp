// The registry ports against the real registry of the Wine prefix, under a key of their own that
// is removed afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <type_traits>

#include "memory_value_store.h"
#include "ports_scratch.h"
#include "shell/file_list.h"
#include "shell/registry_error.h"
#include "shell/settings_schema.h"
#include "shell/settings_store.h"
#include "shell/win/registry_key.h"
#include "shell/win/registry_value_store.h"
#include "shell/win/utf16.h"
#include "shell/win/win_path_names.h"

namespace lumetra::win {
namespace {

using lumetra::test::MemoryValueStore;
using ports::ScratchFolder;

static_assert(!std::is_copy_constructible_v<RegistryKey>);
static_assert(!std::is_copy_assignable_v<RegistryKey>);
static_assert(std::is_nothrow_move_constructible_v<RegistryKey>);

constexpr ScreenSize kScreen{1280, 1024};
const std::wstring kUmlauts = L"B\u00e4r \u00f6l \u00fcber \u6f22\u5b57";  // "Bär öl über 漢字"

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = L"Software\\Velloforge\\LumetraPortTests\\" +
                std::to_wstring(GetCurrentProcessId()) + L"-" +
                toUtf16(::testing::UnitTest::GetInstance()->current_test_info()->name());
        RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str()); }

    // The test's base key with its trailing backslash, as the program forms its own.
    std::wstring base() const { return root_ + L"\\"; }

    // Writes a value with the plain API, bypassing the ports.
    void putRaw(const std::wstring& subkey, const std::wstring& name, DWORD type, const void* data,
                DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (root_ + subkey).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    // Reads a value with the plain API; nullopt when it is missing.
    std::optional<RegistryValue> getRaw(const std::wstring& subkey, const std::wstring& name) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, (root_ + subkey).c_str(), 0, KEY_READ, &key))
            return std::nullopt;
        RegistryValue value{name, REG_NONE, std::vector<BYTE>(70000)};
        DWORD size = DWORD(value.data.size());
        const LSTATUS status =
            RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS) return std::nullopt;
        value.data.resize(size);
        return value;
    }

    std::wstring root_;
};

std::vector<BYTE> wideBytes(std::wstring_view text) {
    std::vector<BYTE> bytes(text.size() * sizeof(wchar_t));
    std::memcpy(bytes.data(), text.data(), bytes.size());
    return bytes;
}

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

// --- RegistryKey -----------------------------------------------------------------------------

TEST_F(RegistryTest, KeyWritesAndReadsEveryKindOfValueInItsSubkey) {
    RegistryKey key(HKEY_CURRENT_USER, base());
    key.subkey(L"Windows\\");  // the trailing backslash of the program's key texts
    const std::vector<BYTE> block{1, 2, 3, 0, 255};
    ASSERT_TRUE(key.writeString(kUmlauts, kUmlauts));
    ASSERT_TRUE(key.writeDword(L"main.x", 0xFFFFFFF6u));
    ASSERT_TRUE(key.writeBinary(L"Patches: Brush", block));

    EXPECT_EQ(key.valueSize(kUmlauts), (kUmlauts.size() + 1) * 2);  // with the terminating zero
    EXPECT_EQ(key.valueSize(L"main.x"), 4u);
    EXPECT_EQ(key.valueSize(L"Patches: Brush"), 5u);
    EXPECT_EQ(key.readString(kUmlauts), kUmlauts);
    EXPECT_EQ(key.readDword(L"main.x"), 0xFFFFFFF6u);
    EXPECT_EQ(key.readBinary(L"Patches: Brush"), block);
    EXPECT_EQ(key.lastError().value(), 0);

    // Where the values landed, read past the wrapper.
    auto raw = getRaw(L"\\Windows", kUmlauts);
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, DWORD(REG_SZ));
    EXPECT_EQ(raw->data, wideBytes(std::wstring(kUmlauts) + L'\0'));
    raw = getRaw(L"\\Windows", L"main.x");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, DWORD(REG_DWORD));
    EXPECT_EQ(raw->data, (std::vector<BYTE>{0xF6, 0xFF, 0xFF, 0xFF}));
}

TEST_F(RegistryTest, KeyReadsDwordsOfFourBytesOnlyAndReportsMissingValues) {
    const DWORD four = 0x01020304;
    const WORD two = 7;
    const ULONGLONG eight = 9;
    putRaw(L"", L"binary four", REG_BINARY, &four, 4);
    putRaw(L"", L"short dword", REG_DWORD, &two, 2);
    putRaw(L"", L"qword", REG_QWORD, &eight, 8);
    putRaw(L"", L"text", REG_SZ, L"12", 6);

    RegistryKey key(HKEY_CURRENT_USER, base(), RegistryKey::kOpenExisting);
    EXPECT_EQ(key.readDword(L"binary four"), 0x01020304u);  // the size counts, not the type
    for (const wchar_t* name : {L"short dword", L"qword", L"text"}) {
        try {
            key.readDword(name);
            ADD_FAILURE() << "no error for " << toUtf8(name);
        } catch (const RegistryError& error) {
            EXPECT_STREQ(error.what(), "Not a DWORD value!");
        }
    }
    EXPECT_EQ(key.readDword(L"missing"), std::nullopt);
    EXPECT_EQ(key.lastError().value(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.readString(L"qword"), std::nullopt);
    EXPECT_EQ(key.lastError().value(), ERROR_UNSUPPORTED_TYPE);
    EXPECT_EQ(key.readString(L"missing"), std::nullopt);
    EXPECT_EQ(key.readBinary(L"missing"), std::nullopt);
    EXPECT_EQ(key.valueSize(L"missing"), std::nullopt);
}

TEST_F(RegistryTest, KeyErrorsCarryTheSystemsText) {
    try {
        RegistryKey key(HKEY_CURRENT_USER, base() + L"Nowhere\\", RegistryKey::kOpenExisting);
        FAIL() << "a missing key opened";
    } catch (const RegistryError& error) {
        EXPECT_EQ(error.code(), ERROR_FILE_NOT_FOUND);
        const std::string text = error.what();
        EXPECT_EQ(text.rfind("Could not open new key handle\nError 2: ", 0), 0u) << text;
        EXPECT_NE(text.find(toUtf8(ports::systemMessage(ERROR_FILE_NOT_FOUND))), std::string::npos)
            << text;
    }
    try {
        RegistryKey key(reinterpret_cast<HKEY>(std::uintptr_t{0x1234}), L"");
        FAIL() << "a made-up root key opened";
    } catch (const RegistryError& error) {
        const std::string text = error.what();
        EXPECT_EQ(text.rfind("Could not copy key handle\nError ", 0), 0u) << text;
        EXPECT_NE(text.find(toUtf8(ports::systemMessage(DWORD(error.code())))), std::string::npos)
            << text;
    }
    // A key opened for reading (and created, as it was missing) refuses writes.
    RegistryKey readOnly(HKEY_CURRENT_USER, base() + L"Read only\\", RegistryKey::kReadAccess);
    EXPECT_FALSE(readOnly.writeDword(L"x", 1));
    EXPECT_EQ(readOnly.lastError().value(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(readOnly.lastError().message(), toUtf8(ports::systemMessage(ERROR_ACCESS_DENIED)));
    EXPECT_TRUE(readOnly.enumerateValues().empty());

    RegistryKey closed;
    EXPECT_FALSE(closed.writeDword(L"x", 1));
    EXPECT_EQ(closed.lastError().value(), ERROR_INVALID_HANDLE);
    EXPECT_THROW(closed.enumerateValues(), RegistryError);
}

TEST_F(RegistryTest, KeyEnumeratesInTheRegistrysOwnOrder) {
    RegistryKey key(HKEY_CURRENT_USER, base());
    const std::vector<BYTE> big(5000, 0x5A);
    ASSERT_TRUE(key.writeDword(L"b", 2));
    ASSERT_TRUE(key.writeString(L"a", L"first"));
    ASSERT_TRUE(key.writeBinary(L"c", big));
    ASSERT_TRUE(key.writeString(kUmlauts, L"x"));
    ASSERT_TRUE(key.writeValue(L"Zeta", REG_MULTI_SZ, wideBytes(std::wstring(L"p\0q\0\0", 5))));
    ASSERT_TRUE(key.writeBinary(L"empty", {}));

    const std::vector<RegistryValue> values = key.enumerateValues();

    // The order is the registry's: the same as its own enumeration gives, value by value.
    std::vector<RegistryValue> expected;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumValueW(key.handle(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        expected.push_back(*getRaw(L"", std::wstring(name, nameLength)));
    }
    ASSERT_EQ(values.size(), 6u);
    EXPECT_EQ(values, expected);

    std::map<std::wstring, RegistryValue> byName;
    for (const RegistryValue& v : values)
        byName[v.name] = v;
    EXPECT_EQ(byName[L"c"].data, big);
    EXPECT_EQ(byName[L"empty"].data.size(), 0u);
    EXPECT_EQ(byName[L"Zeta"].type, DWORD(REG_MULTI_SZ));
    EXPECT_EQ(byName[kUmlauts].data, wideBytes(std::wstring(L"x\0", 2)));
}

TEST_F(RegistryTest, KeyMovesItsHandlesAndDeletesValues) {
    RegistryKey first(HKEY_CURRENT_USER, base());
    ASSERT_TRUE(first.writeDword(L"kept", 42));
    RegistryKey second(std::move(first));
    EXPECT_FALSE(first.isOpen());
    ASSERT_TRUE(second.isOpen());
    EXPECT_EQ(second.readDword(L"kept"), 42u);

    RegistryKey third(HKEY_CURRENT_USER, base() + L"Other");
    third = std::move(second);
    EXPECT_EQ(third.readDword(L"kept"), 42u);

    EXPECT_TRUE(third.deleteValue(L"kept"));
    EXPECT_FALSE(getRaw(L"", L"kept"));
    EXPECT_TRUE(third.deleteValue(L"kept"));  // gone already: still fine
    third.close();
    EXPECT_FALSE(third.isOpen());
}

// --- RegistryValueStore ----------------------------------------------------------------------

// Settings unlike the defaults in every field, with texts outside ASCII.
PersistedSettings unusualSettings() {
    PersistedSettings s;
    s.renderDefaults.width = 640;
    s.renderDefaults.height = 480;
    s.renderDefaults.lowFrequency = 27.5;
    s.renderDefaults.highFrequency = 12345.678;
    s.renderDefaults.ampFactor = 3.25;
    s.renderDefaults.outputTime = 12.5;
    s.renderDefaults.softSweeps = 1;
    s.renderDefaults.noiseBandwidth = 7;
    s.sound.sampleRate = 44100;
    s.sound.bufferCount = 12;
    s.sound.bufferSize = 2048;
    s.sound.device = -1;
    s.shell.attachRenderInfo = 1;
    s.shell.numberSoundfiles = 1;
    s.shell.soundfileCounter = 42;
    s.shell.undoLimit = 25;
    s.shell.selectionStyle = SelectionStyle::Inverted;
    for (std::size_t i = 0; i < s.brushPatches.bytes.size(); ++i)
        s.brushPatches.bytes[i] = std::uint8_t(i * 13 + 1);
    for (std::size_t r = 0; r < kEchordPatchCount; ++r) {
        s.echordPatches[r].words[EchordPatch::kNum] = std::int32_t(r % 100 + 1);
        s.echordPatches[r].words[EchordPatch::kHop] = std::int32_t(r * 20 + 3);
        s.echordPatches[r].words[12] = -std::int32_t(r);
    }
    s.layout.brushX = 700;
    s.layout.echordShow = kShowRolledUp;
    s.folders.imageFolder =
        "C:\\Bilder\\B\xC3\xA4r \xC3\xB6l \xC3\xBC"
        "ber\\";
    s.folders.filterFolder = "C:\\" + std::string(200, 'f') + "\\";
    s.folders.soundfileFolder = "D:\\\xE6\xBC\xA2\xE5\xAD\x97\\";
    s.folders.analysesFolder = "";
    return s;
}

const MainWindowPlacement kPlacement{100, 120, 700, 520, kShowNormal, false};

std::vector<StoredValue> sortedValues(SettingsValueStore& store, const std::string& key) {
    std::vector<StoredValue> values = store.enumerateValues(key);
    std::sort(values.begin(), values.end(),
              [](const StoredValue& a, const StoredValue& b) { return a.name < b.name; });
    return values;
}

void expectSameValues(SettingsValueStore& a, SettingsValueStore& b) {
    for (const std::string key : {"", "Windows\\", "Directories\\"}) {
        const auto left = sortedValues(a, key);
        const auto right = sortedValues(b, key);
        ASSERT_EQ(left.size(), right.size()) << "key \"" << key << "\"";
        for (std::size_t i = 0; i < left.size(); ++i) {
            EXPECT_EQ(left[i].name, right[i].name);
            EXPECT_EQ(left[i].type, right[i].type) << left[i].name;
            EXPECT_EQ(left[i].data, right[i].data) << left[i].name;
        }
    }
}

TEST_F(RegistryTest, SettingsRoundTripThroughTheRegistryAsThroughAMap) {
    RegistryValueStore registry(HKEY_CURRENT_USER, base());
    MemoryValueStore memory;
    PersistedSettings settings = unusualSettings();
    PersistedSettings copy = settings;
    ASSERT_TRUE(SettingsStore(registry).save(settings, kPlacement));
    ASSERT_TRUE(SettingsStore(memory).save(copy, kPlacement));
    // Both stores hold exactly the same values, with the same types and bytes.
    expectSameValues(registry, memory);

    // Loading them back (which applies the load rules) and saving into a map gives what the
    // same round trip through a map gives.
    PersistedSettings loaded;
    ASSERT_TRUE(SettingsStore(registry).load(loaded, kScreen));
    PersistedSettings loadedFromMemory;
    ASSERT_TRUE(SettingsStore(memory).load(loadedFromMemory, kScreen));
    MemoryValueStore again;
    MemoryValueStore againFromMemory;
    ASSERT_TRUE(SettingsStore(again).save(loaded, kPlacement));
    ASSERT_TRUE(SettingsStore(againFromMemory).save(loadedFromMemory, kPlacement));
    expectSameValues(again, againFromMemory);
    EXPECT_EQ(loaded.folders.imageFolder, settings.folders.imageFolder);
    EXPECT_EQ(loaded.folders.soundfileFolder, settings.folders.soundfileFolder);
    EXPECT_EQ(loaded.sound.device, -1);
    EXPECT_EQ(loaded.renderDefaults.highFrequency, 12345.678);
    EXPECT_EQ(loaded.echordPatches, settings.echordPatches);
    EXPECT_EQ(loaded.brushPatches, settings.brushPatches);

    // The folder texts are real UTF-16 registry strings.
    const auto raw = getRaw(L"\\Directories", L"Image");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, DWORD(REG_SZ));
    EXPECT_EQ(raw->data,
              wideBytes(std::wstring(L"C:\\Bilder\\B\u00e4r \u00f6l \u00fcber\\") + L'\0'));
}

TEST_F(RegistryTest, EmptyRegistryLoadsTheDefaultsAsAnEmptyMapDoes) {
    RegistryValueStore registry(HKEY_CURRENT_USER, base());
    MemoryValueStore memory;
    PersistedSettings fromRegistry = unusualSettings();
    PersistedSettings fromMemory = unusualSettings();
    ASSERT_TRUE(SettingsStore(registry).load(fromRegistry, kScreen));
    ASSERT_TRUE(SettingsStore(memory).load(fromMemory, kScreen));
    MemoryValueStore a;
    MemoryValueStore b;
    SettingsStore(a).save(fromRegistry, kPlacement);
    SettingsStore(b).save(fromMemory, kPlacement);
    expectSameValues(a, b);
    EXPECT_EQ(fromRegistry.renderDefaults.width, 300);
    EXPECT_EQ(fromRegistry.folders.imageFolder, "");
}

TEST_F(RegistryTest, ValuesOfTheWrongTypeOrSizeComeBackAsStoredAndAreNotTaken) {
    const WORD shortNumber = 500;
    const ULONGLONG wide = 200;
    const DWORD folderNumber = 3;
    const std::vector<BYTE> shortBlock(575, 9);
    putRaw(L"", L"Image width", REG_SZ, L"400", 8);
    putRaw(L"", L"Output sample rate", REG_DWORD, &shortNumber, 2);
    putRaw(L"", L"Patches: Brush", REG_BINARY, shortBlock.data(), DWORD(shortBlock.size()));
    putRaw(L"\\Windows", L"main.x", REG_QWORD, &wide, 8);
    putRaw(L"\\Directories", L"Image", REG_DWORD, &folderNumber, 4);
    const std::wstring longFolder = L"C:\\" + std::wstring(300, L'x') + L"\\";
    putRaw(L"\\Directories", L"Filter", REG_SZ, longFolder.c_str(),
           DWORD((longFolder.size() + 1) * 2));

    RegistryValueStore registry(HKEY_CURRENT_USER, base());
    auto v = registry.readValue("", "Image width");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, StoredType::String);
    EXPECT_EQ(v->data, bytesOf("400"));
    v = registry.readValue("", "Output sample rate");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, StoredType::Dword);
    EXPECT_EQ(v->data, (std::vector<std::uint8_t>{0xF4, 0x01}));
    v = registry.readValue("", "Patches: Brush");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, StoredType::Binary);
    EXPECT_EQ(v->data.size(), 575u);
    v = registry.readValue("Windows\\", "main.x");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, StoredType::Other);
    EXPECT_EQ(v->data.size(), 8u);
    EXPECT_FALSE(registry.readValue("", "missing"));
    EXPECT_FALSE(registry.readValue("No such key\\", "Image width"));

    PersistedSettings loaded;
    loaded.brushPatches.bytes.fill(0x77);
    ASSERT_TRUE(SettingsStore(registry).load(loaded, kScreen));
    EXPECT_EQ(loaded.renderDefaults.width, 300);
    EXPECT_EQ(loaded.sound.sampleRate, 22050);
    EXPECT_EQ(loaded.brushPatches.bytes[0], 0x77);  // a block of another size is not this block
    EXPECT_EQ(loaded.brushPatches.bytes[575], 0x77);
    EXPECT_EQ(loaded.layout.mainX, 50);
    EXPECT_EQ(loaded.folders.imageFolder, "");
    EXPECT_EQ(loaded.folders.filterFolder, "");  // longer than a folder field holds
}

TEST_F(RegistryTest, StoreConvertsTextsAtTheApi) {
    RegistryValueStore registry(HKEY_CURRENT_USER, base());
    ASSERT_TRUE(registry.openKey("Texts"));
    const std::string eins = "eins \xE2\x82\xAC";  // "eins €"
    StoredValue multi{"multi", StoredType::MultiString,
                      bytesOf(eins + std::string(1, '\0') + "zwei")};
    ASSERT_EQ(registry.writeValue("Texts", multi), 0);
    auto raw = getRaw(L"\\Texts", L"multi");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, DWORD(REG_MULTI_SZ));
    EXPECT_EQ(raw->data, wideBytes(std::wstring(L"eins \u20ac\0zwei\0\0", 13)));
    auto back = registry.readValue("Texts", "multi");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->data, multi.data);
    EXPECT_EQ(textFrom(*back), eins);

    // Strings that other writers stored without their zero, or as expandable strings.
    putRaw(L"\\Texts", L"bare", REG_SZ, L"abc", 6);
    putRaw(L"\\Texts", L"expand", REG_EXPAND_SZ, L"%TEMP%", 14);
    putRaw(L"\\Texts", L"odd", REG_SZ, L"xy", 5);
    EXPECT_EQ(textFrom(*registry.readValue("Texts", "bare")), "abc");
    EXPECT_EQ(registry.readValue("Texts", "expand")->type, StoredType::String);
    EXPECT_EQ(textFrom(*registry.readValue("Texts", "expand")), "%TEMP%");
    EXPECT_EQ(textFrom(*registry.readValue("Texts", "odd")), "xy");

    EXPECT_EQ(registry.writeValue("Texts", StoredValue{"other", StoredType::Other, {1}}),
              ERROR_INVALID_DATATYPE);
    EXPECT_EQ(registry.deleteValue("Texts", "multi"), 0);
    EXPECT_EQ(registry.deleteValue("Texts", "multi"), 0);
    EXPECT_EQ(registry.deleteValue("No such key\\", "multi"), 0);
    try {
        registry.enumerateValues("No such key\\");
        FAIL() << "enumerated a missing key";
    } catch (const RegistryError& error) {
        EXPECT_EQ(error.code(), ERROR_FILE_NOT_FOUND);
        EXPECT_NE(
            std::string(error.what()).find(toUtf8(ports::systemMessage(ERROR_FILE_NOT_FOUND))),
            std::string::npos);
    }
}

TEST_F(RegistryTest, RecentFilesSurviveTheRegistry) {
    ScratchFolder folder;
    std::vector<std::string> files;
    for (int i = 0; i < 6; ++i) {
        const std::wstring path = folder.path() + L"Bild \u00e4\u00f6\u00fc " + std::to_wstring(i) +
                                  L" mit langem Namen.bmp";
        ASSERT_TRUE(ports::writeFile(path, "BM"));
        files.push_back(toUtf8(path));
    }
    WinPathNames paths;
    RegistryValueStore registry(HKEY_CURRENT_USER, base());

    FileList six(paths);
    for (const std::string& f : files)
        six.add(f);
    six.save(registry);
    FileList four(paths);
    for (int i = 2; i < 6; ++i)
        four.add(files[std::size_t(i)]);
    four.save(registry);

    // "0" to "3" hold the four entries, oldest first; "4" and "5" are gone.
    std::vector<std::string> names;
    for (const StoredValue& v : registry.enumerateValues("RecentFiles"))
        names.push_back(v.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"0", "1", "2", "3"}));

    FileList loaded(paths);
    loaded.load(registry);
    ASSERT_EQ(loaded.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(loaded.entry(i), four.entry(i));
    const auto items = loaded.menuItems();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "Bild \xC3\xA4\xC3\xB6\xC3\xBC 5 mit langem Namen.bmp");
}

}  // namespace
}  // namespace lumetra::win
