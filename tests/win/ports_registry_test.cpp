// The registry ports against the real registry of the Wine prefix, under a key of their own that
// is removed afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <type_traits>

#include "base/registry_error.h"
#include "base/win/registry_key.h"
#include "base/win/registry_value_store.h"
#include "base/win/utf16.h"
#include "memory_value_store.h"
#include "ports_scratch.h"
#include "settings_samples.h"
#include "shell/settings_schema.h"
#include "shell/settings_store.h"

namespace lumetra::win {
namespace {

using lumetra::test::loadedFieldsText;
using lumetra::test::MemoryValueStore;
using lumetra::test::unusualSettings;
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

// The registry error that `action` throws; a failure of the test when it throws none.
template <typename Action>
RegistryError errorFrom(Action action) {
    try {
        action();
    } catch (const RegistryError& error) {
        return error;
    }
    ADD_FAILURE() << "no registry error";
    return RegistryError("");
}

// Whether `error` carries the system's own text for `code`.
bool hasSystemText(const RegistryError& error, DWORD code) {
    return std::string(error.what()).find(toUtf8(ports::systemMessage(code))) != std::string::npos;
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
        EXPECT_STREQ(errorFrom([&] { key.readDword(name); }).what(), "Not a DWORD value!")
            << toUtf8(name);
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
    const RegistryError missing = errorFrom(
        [&] { RegistryKey(HKEY_CURRENT_USER, base() + L"Nowhere\\", RegistryKey::kOpenExisting); });
    EXPECT_EQ(missing.code(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(std::string(missing.what()).rfind("Could not open new key handle\nError 2: ", 0), 0u)
        << missing.what();
    EXPECT_TRUE(hasSystemText(missing, ERROR_FILE_NOT_FOUND)) << missing.what();
    const RegistryError madeUp =
        errorFrom([] { RegistryKey(reinterpret_cast<HKEY>(std::uintptr_t{0x1234}), L""); });
    EXPECT_EQ(std::string(madeUp.what()).rfind("Could not copy key handle\nError ", 0), 0u)
        << madeUp.what();
    EXPECT_TRUE(hasSystemText(madeUp, DWORD(madeUp.code()))) << madeUp.what();
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
    // Empty, the registry loads the defaults as an empty map does.
    PersistedSettings fromRegistry = unusualSettings();
    PersistedSettings fromMemory = unusualSettings();
    ASSERT_TRUE(SettingsStore(registry).load(fromRegistry, kScreen));
    ASSERT_TRUE(SettingsStore(memory).load(fromMemory, kScreen));
    EXPECT_EQ(loadedFieldsText(fromRegistry), loadedFieldsText(fromMemory));
    EXPECT_EQ(fromRegistry.renderDefaults.width, 300);

    // Saved, both stores hold exactly the same values, with the same types and bytes, and the
    // registry's load gives back what was saved (the save records the main window's place).
    PersistedSettings settings = unusualSettings();
    PersistedSettings copy = settings;
    ASSERT_TRUE(SettingsStore(registry).save(settings, kPlacement));
    ASSERT_TRUE(SettingsStore(memory).save(copy, kPlacement));
    expectSameValues(registry, memory);
    PersistedSettings loaded;
    ASSERT_TRUE(SettingsStore(registry).load(loaded, kScreen));
    EXPECT_EQ(loadedFieldsText(loaded), loadedFieldsText(settings));

    // The folder texts are real UTF-16 registry strings.
    const auto raw = getRaw(L"\\Directories", L"Image");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, DWORD(REG_SZ));
    EXPECT_EQ(raw->data,
              wideBytes(std::wstring(L"C:\\Bilder\\B\u00e4r \u00f6l \u00fcber\\") + L'\0'));
}

TEST_F(RegistryTest, ValuesOfTheWrongTypeOrSizeComeBackAsStoredAndAreWrittenSoundAgain) {
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
    const struct {
        std::string key, name;
        StoredType type;
        std::vector<std::uint8_t> data;
    } stored[] = {
        {"", "Image width", StoredType::String, bytesOf("400")},
        {"", "Output sample rate", StoredType::Dword, {0xF4, 0x01}},
        {"", "Patches: Brush", StoredType::Binary, std::vector<std::uint8_t>(575, 9)},
        {"Windows\\", "main.x", StoredType::Other, {200, 0, 0, 0, 0, 0, 0, 0}},
        {"Directories\\", "Image", StoredType::Dword, {3, 0, 0, 0}},
    };
    for (const auto& s : stored) {
        const auto v = registry.readValue(s.key, s.name);
        ASSERT_TRUE(v) << s.name;
        EXPECT_EQ(v->type, s.type) << s.name;
        EXPECT_EQ(v->data, s.data) << s.name;
    }
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

    // A save replaces them by values of their own type.
    ASSERT_TRUE(SettingsStore(registry).save(loaded, kPlacement));
    const auto width = getRaw(L"", L"Image width");
    ASSERT_TRUE(width);
    EXPECT_EQ(width->type, DWORD(REG_DWORD));
    EXPECT_EQ(width->data, (std::vector<BYTE>{0x2C, 0x01, 0, 0}));
    const auto mainX = getRaw(L"\\Windows", L"main.x");
    ASSERT_TRUE(mainX);
    EXPECT_EQ(mainX->type, DWORD(REG_DWORD));
    EXPECT_EQ(mainX->data, (std::vector<BYTE>{100, 0, 0, 0}));
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
    const RegistryError missing = errorFrom([&] { registry.enumerateValues("No such key\\"); });
    EXPECT_EQ(missing.code(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(hasSystemText(missing, ERROR_FILE_NOT_FOUND)) << missing.what();
}

}  // namespace
}  // namespace lumetra::win
