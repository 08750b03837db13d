// The registry ports against the real registry of the Wine prefix, under a key of their own that is
// removed afterwards. (What the settings make of the values, defaults for the wrong type or size
// and the round trip, is the settings store's, tested over a memory store; the program's own
// values at its exit: the end-to-end scenarios.)

#include <gtest/gtest.h>

#include <tuple>

#include "base/registry_error.h"
#include "base/win/registry_key.h"
#include "base/win/registry_value_store.h"
#include "base/win/utf16.h"
#include "ports_scratch.h"

namespace lumetra::win {
namespace {

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
    const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
    return {bytes, bytes + text.size() * sizeof(wchar_t)};
}

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

// The text of the registry error that `action` throws, which must start with `start` and carry the
// system's own text for `code`.
template <typename Action>
void expectError(Action action, const std::string& start, DWORD code) {
    try {
        action();
        ADD_FAILURE() << "no registry error";
    } catch (const RegistryError& error) {
        const std::string what = error.what();
        EXPECT_EQ(what.rfind(start, 0), 0u) << what;
        EXPECT_NE(what.find(toUtf8(ports::systemMessage(code))), std::string::npos) << what;
        EXPECT_EQ(error.code(), int(code));
    }
}

// Values as the registry holds them: a DWORD in its four bytes.
RegistryValue regDword(std::wstring name, DWORD n) {
    return {std::move(name), REG_DWORD, {BYTE(n), BYTE(n >> 8), BYTE(n >> 16), BYTE(n >> 24)}};
}

bool put(RegistryKey& key, const RegistryValue& value) {
    return key.writeValue(value.name, value.type, value.data);
}

// Each type lands as the registry holds it, whole (the large and the empty value too), in the
// subkey named with the trailing backslash of the program's key texts; it reads back as written
// and enumerates in the registry's own order.
TEST_F(RegistryTest, StoreWritesEachTypeAsTheRegistryHoldsItAndReadsItBackWhole) {
    RegistryValueStore store(HKEY_CURRENT_USER, base());
    const std::string eins = "eins \xE2\x82\xAC";  // "eins €"
    const struct {
        StoredValue value;
        DWORD type;
        std::vector<BYTE> raw;
    } cases[] = {
        {dwordValue("main.x", 0xFFFFFFF6u), REG_DWORD, {0xF6, 0xFF, 0xFF, 0xFF}},
        {binaryValue("Patches", std::vector<std::uint8_t>(5000, 0x5A)), REG_BINARY,
         std::vector<BYTE>(5000, 0x5A)},
        {binaryValue("empty", {}), REG_BINARY, {}},
        {textValue(toUtf8(kUmlauts), toUtf8(kUmlauts)), REG_SZ, wideBytes(kUmlauts + L'\0')},
        {StoredValue{"multi", StoredType::MultiString, bytesOf(eins + '\0' + "zwei")}, REG_MULTI_SZ,
         wideBytes(std::wstring(L"eins \u20ac\0zwei\0\0", 13))},
    };
    ASSERT_TRUE(store.openKey("Windows\\"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.name);
        ASSERT_EQ(store.writeValue("Windows\\", c.value), 0);
        EXPECT_EQ(getRaw(L"\\Windows", toUtf16(c.value.name)),
                  (RegistryValue{toUtf16(c.value.name), c.type, c.raw}));
        const auto back = store.readValue("Windows\\", c.value.name);
        ASSERT_TRUE(back);
        EXPECT_EQ(std::tie(back->type, back->data), std::tie(c.value.type, c.value.data));
    }
    EXPECT_EQ(store.writeValue("", StoredValue{"other", StoredType::Other, {1}}),
              ERROR_INVALID_DATATYPE);

    RegistryKey key(HKEY_CURRENT_USER, base() + L"Windows\\", RegistryKey::kOpenExisting);
    std::vector<std::string> order;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumValueW(key.handle(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        order.push_back(toUtf8(std::wstring(name, nameLength)));
    }
    std::vector<std::string> enumerated;
    for (const StoredValue& value : store.enumerateValues("Windows\\")) {
        enumerated.push_back(value.name);
        for (const auto& c : cases) {
            if (c.value.name == value.name) {
                EXPECT_EQ(value.data, c.value.data) << value.name;
            }
        }
    }
    EXPECT_EQ(enumerated.size(), std::size(cases));
    EXPECT_EQ(enumerated, order);

    // A read clears the error of the one before it.
    EXPECT_EQ(key.readValue(L"missing"), std::nullopt);
    EXPECT_EQ(key.lastError().value(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.readValue(L"main.x"), regDword(L"main.x", 0xFFFFFFF6u));
    EXPECT_EQ(key.lastError().value(), 0);
}

TEST_F(RegistryTest, KeyErrorsCarryTheSystemsText) {
    expectError(
        [&] { RegistryKey(HKEY_CURRENT_USER, base() + L"Nowhere\\", RegistryKey::kOpenExisting); },
        "Could not open new key handle\nError 2: ", ERROR_FILE_NOT_FOUND);
    expectError([] { RegistryKey(reinterpret_cast<HKEY>(std::uintptr_t{0x1234}), L""); },
                "Could not copy key handle\nError 6: ", ERROR_INVALID_HANDLE);
    // A key opened for reading (and created, as it was missing) refuses writes.
    RegistryKey readOnly(HKEY_CURRENT_USER, base() + L"Read only\\", RegistryKey::kReadAccess);
    EXPECT_FALSE(put(readOnly, regDword(L"x", 1)));
    EXPECT_EQ(readOnly.lastError().value(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(readOnly.lastError().message(), toUtf8(ports::systemMessage(ERROR_ACCESS_DENIED)));
    EXPECT_TRUE(readOnly.enumerateValues().empty());

    RegistryKey closed;
    EXPECT_FALSE(put(closed, regDword(L"x", 1)));
    EXPECT_EQ(closed.lastError().value(), ERROR_INVALID_HANDLE);
    EXPECT_THROW(closed.enumerateValues(), RegistryError);
}

TEST_F(RegistryTest, KeyMovesItsHandles) {
    RegistryKey first(HKEY_CURRENT_USER, base());
    ASSERT_TRUE(put(first, regDword(L"kept", 42)));
    RegistryKey second(std::move(first));
    EXPECT_FALSE(first.isOpen());
    RegistryKey third(HKEY_CURRENT_USER, base() + L"Other");
    third = std::move(second);
    EXPECT_EQ(third.readValue(L"kept"), regDword(L"kept", 42));
    third.close();
    EXPECT_FALSE(third.isOpen());
}

TEST_F(RegistryTest, StoreReadsWhatOthersWroteWithItsOwnTypeAndSize) {
    RegistryKey raw(HKEY_CURRENT_USER, base());
    const auto putRaw = [&](const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_TRUE(raw.writeValue(name, type, {static_cast<const BYTE*>(data), size}));
    };
    const WORD shortNumber = 500;
    const ULONGLONG wide = 200;
    putRaw(L"short", REG_DWORD, &shortNumber, 2);
    putRaw(L"qword", REG_QWORD, &wide, 8);
    // Strings without their zero, expandable, and of an odd byte count.
    putRaw(L"bare", REG_SZ, L"abc", 6);
    putRaw(L"expand", REG_EXPAND_SZ, L"%TEMP%", 14);
    putRaw(L"odd", REG_SZ, L"xy", 5);
    RegistryValueStore store(HKEY_CURRENT_USER, base());
    const struct {
        std::string name;
        StoredType type;
        std::vector<std::uint8_t> data;
    } stored[] = {
        {"short", StoredType::Dword, {0xF4, 0x01}},
        {"qword", StoredType::Other, {200, 0, 0, 0, 0, 0, 0, 0}},
        {"bare", StoredType::String, bytesOf("abc")},
        {"expand", StoredType::String, bytesOf("%TEMP%")},
        {"odd", StoredType::String, bytesOf("xy")},
    };
    for (const auto& s : stored) {
        const auto v = store.readValue("", s.name);
        ASSERT_TRUE(v) << s.name;
        EXPECT_EQ(std::tie(v->type, v->data), std::tie(s.type, s.data)) << s.name;
    }
    EXPECT_FALSE(store.readValue("", "missing"));
    EXPECT_FALSE(store.readValue("No such key\\", "short"));

    // Deleting what is not there is no error; enumerating a missing key is, with the system's text.
    for (int round = 0; round < 2; ++round)
        EXPECT_EQ(store.deleteValue("", "short"), 0);
    EXPECT_FALSE(getRaw(L"", L"short"));
    EXPECT_EQ(store.deleteValue("No such key\\", "short"), 0);
    expectError([&] { store.enumerateValues("No such key\\"); }, "", ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace lumetra::win
