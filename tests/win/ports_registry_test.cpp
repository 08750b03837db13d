// The registry ports against the Wine prefix's registry, under a key of their own that is removed
// afterwards. (What the settings make of the values is the settings store's, over a memory store.)

#include "base/registry_error.h"
#include "base/win/registry_key.h"
#include "base/win/registry_value_store.h"
#include "win_test.h"

namespace lumetra::win {
namespace {

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
        RegistryValue value{name, REG_NONE, std::vector<BYTE>(70000)};
        DWORD size = DWORD(value.data.size());
        if (RegGetValueW(HKEY_CURRENT_USER, (root_ + subkey).c_str(), name.c_str(),
                         RRF_RT_ANY | RRF_NOEXPAND, &value.type, value.data.data(), &size))
            return std::nullopt;
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
// A DWORD in its four bytes, as the registry holds it.
RegistryValue regDword(std::wstring name, DWORD n) {
    return {std::move(name), REG_DWORD, {BYTE(n), BYTE(n >> 8), BYTE(n >> 16), BYTE(n >> 24)}};
}
bool put(RegistryKey& key, const RegistryValue& value) {
    return key.writeValue(value.name, value.type, value.data);
}

// The registry error `action` throws must start with `start` and carry the system's text for
// `code`.
template <typename Action>
void expectError(Action action, const std::string& start, DWORD code) {
    try {
        action();
        ADD_FAILURE() << "no registry error";
    } catch (const RegistryError& error) {
        const std::string what = error.what();
        EXPECT_EQ(what.rfind(start, 0), 0u) << what;
        EXPECT_NE(what.find(toUtf8(systemMessage(code))), std::string::npos) << what;
        EXPECT_EQ(error.code(), int(code));
    }
}

// Each type lands as the registry holds it, whole (the empty value too), in the subkey named with
// the trailing backslash of the program's key texts; it reads and enumerates back as written.
// (Large values: the patches, end to end.)
TEST_F(RegistryTest, StoreWritesEachTypeAsTheRegistryHoldsItAndReadsItBackWhole) {
    RegistryValueStore store(HKEY_CURRENT_USER, base());
    const std::wstring umlauts = L"B\u00e4r \u00f6l \u00fcber \u6f22\u5b57";
    const std::tuple<StoredValue, DWORD, std::vector<BYTE>> cases[] = {
        {dwordValue("main.x", 0xFFFFFFF6u), REG_DWORD, {0xF6, 0xFF, 0xFF, 0xFF}},
        {binaryValue("empty", {}), REG_BINARY, {}},
        {textValue(toUtf8(umlauts), toUtf8(umlauts)), REG_SZ, wideBytes(umlauts + L'\0')},
        {StoredValue{"multi", StoredType::MultiString, bytesOf({"eins \xE2\x82\xAC\0zwei", 13})},
         REG_MULTI_SZ, wideBytes(std::wstring(L"eins \u20ac\0zwei\0\0", 13))},
    };
    ASSERT_TRUE(store.openKey("Windows\\"));
    for (const auto& [value, type, raw] : cases) {
        SCOPED_TRACE(value.name);
        ASSERT_EQ(store.writeValue("Windows\\", value), 0);
        EXPECT_EQ(getRaw(L"\\Windows", toUtf16(value.name)),
                  (RegistryValue{toUtf16(value.name), type, raw}));
        const auto back = store.readValue("Windows\\", value.name);
        ASSERT_TRUE(back);
        EXPECT_EQ(std::tie(back->type, back->data), std::tie(value.type, value.data));
    }
    EXPECT_EQ(store.writeValue("", StoredValue{"other", StoredType::Other, {1}}),
              ERROR_INVALID_DATATYPE);
    const auto all = store.enumerateValues("Windows\\");
    ASSERT_EQ(all.size(), std::size(cases));
    for (const StoredValue& v : all)
        for (const auto& [value, type, raw] : cases)
            EXPECT_TRUE(value.name != v.name || value.data == v.data) << v.name;

    // A read clears the error of the one before it.
    RegistryKey key(HKEY_CURRENT_USER, base() + L"Windows\\", RegistryKey::kOpenExisting);
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
    EXPECT_EQ(readOnly.lastError().message(), toUtf8(systemMessage(ERROR_ACCESS_DENIED)));
    EXPECT_TRUE(readOnly.enumerateValues().empty());
    RegistryKey closed;
    EXPECT_FALSE(put(closed, regDword(L"x", 1)));
    EXPECT_EQ(closed.lastError().value(), ERROR_INVALID_HANDLE);
    EXPECT_THROW(closed.enumerateValues(), RegistryError);
}

TEST_F(RegistryTest, StoreReadsWhatOthersWroteWithItsOwnTypeAndSize) {
    RegistryKey raw(HKEY_CURRENT_USER, base());
    const auto putRaw = [&](const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_TRUE(raw.writeValue(name, type, {static_cast<const BYTE*>(data), size}));
    };
    const WORD shortNumber = 500;
    putRaw(L"short", REG_DWORD, &shortNumber, 2);
    // Strings without their zero, expandable, and of an odd byte count.
    putRaw(L"bare", REG_SZ, L"abc", 6);
    putRaw(L"expand", REG_EXPAND_SZ, L"%TEMP%", 14);
    putRaw(L"odd", REG_SZ, L"xy", 5);
    RegistryValueStore store(HKEY_CURRENT_USER, base());
    const std::tuple<std::string, StoredType, std::vector<std::uint8_t>> stored[] = {
        {"short", StoredType::Dword, {0xF4, 0x01}},
        {"bare", StoredType::String, bytesOf("abc")},
        {"expand", StoredType::String, bytesOf("%TEMP%")},
        {"odd", StoredType::String, bytesOf("xy")},
    };
    for (const auto& [name, type, data] : stored) {
        const auto v = store.readValue("", name);
        ASSERT_TRUE(v) << name;
        EXPECT_EQ(std::tie(v->type, v->data), std::tie(type, data)) << name;
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
