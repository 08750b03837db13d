// The registry and file-system ports against the Wine prefix (registry values under a key of the
// test's own, removed afterwards): each type as the registry holds it, names outside ASCII, paths
// beyond MAX_PATH, a file replaced in one step, short names, the system's own error texts.

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
RegistryValue regDword(std::wstring name, DWORD n) {
    return {std::move(name), REG_DWORD, {BYTE(n), BYTE(n >> 8), BYTE(n >> 16), BYTE(n >> 24)}};
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
    EXPECT_EQ(store.enumerateValues("Windows\\").size(), std::size(cases));
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
    EXPECT_FALSE(readOnly.writeValue(L"x", REG_DWORD, regDword(L"x", 1).data));
    EXPECT_EQ(readOnly.lastError().value(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(readOnly.lastError().message(), toUtf8(systemMessage(ERROR_ACCESS_DENIED)));
    EXPECT_TRUE(readOnly.enumerateValues().empty());
    EXPECT_THROW(RegistryKey().enumerateValues(), RegistryError);
}

TEST_F(RegistryTest, StoreReadsWhatOthersWroteWithItsOwnTypeAndSize) {
    RegistryKey raw(HKEY_CURRENT_USER, base());
    const auto putRaw = [&](const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_TRUE(raw.writeValue(name, type, {static_cast<const BYTE*>(data), size}));
    };
    const WORD shortNumber = 500;
    putRaw(L"short", REG_DWORD, &shortNumber, 2);
    // Strings without their zero, and of an odd byte count.
    putRaw(L"bare", REG_SZ, L"abc", 6);
    putRaw(L"odd", REG_SZ, L"xy", 5);
    RegistryValueStore store(HKEY_CURRENT_USER, base());
    const std::tuple<std::string, StoredType, std::vector<std::uint8_t>> stored[] = {
        {"short", StoredType::Dword, {0xF4, 0x01}},
        {"bare", StoredType::String, bytesOf("abc")},
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

// "Größe – Bild ŝ 漢字": Latin-1, a dash and a letter outside Latin-1, and CJK.
const std::wstring kName = L"Gr\u00f6\u00dfe \u2013 Bild \u015d \u6f22\u5b57";

bool exists(const std::wstring& path) {
    return GetFileAttributesW(extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Folders below `base`, each named after kName, until the path is longer than `length`
// characters, made through `files` or else directly. The deepest, with a trailing backslash.
std::wstring deepFolder(const std::wstring& base, std::size_t length, WinFileSystem* files) {
    std::wstring path = base;
    for (int level = 0; path.size() <= length; ++level) {
        path += kName + L" " + std::to_wstring(level) + std::wstring(20, L'x') + L"\\";
        const bool made = files ? files->createDirectory(path)
                                : CreateDirectoryW(extended(path).c_str(), nullptr);
        EXPECT_TRUE(made) << path.size() << " characters";
    }
    return path;
}

std::string contents(WinFileSystem& files, const fs::path& path) {
    std::vector<std::uint8_t> bytes;
    return files.read(path, bytes, 1 << 20) == ReadOutcome::Read
               ? std::string(bytes.begin(), bytes.end())
               : "<unreadable>";
}

TEST(WinFileSystem, WritesReadsReplacesAndRemovesFilesOfAnyNameAndLength) {
    ScratchFolder scratch;
    WinFileSystem files;
    for (const std::wstring& folder :
         {scratch.path(), deepFolder(scratch.path(), 2 * MAX_PATH, nullptr)}) {
        SCOPED_TRACE(folder.size());
        const fs::path target = folder + kName + L".bmp", pending = folder + kName + L".saving";
        ASSERT_TRUE(writeFile(target.wstring(), "old picture"));
        auto sink = files.create(pending);
        ASSERT_TRUE(sink);
        EXPECT_EQ(sink->write("xxxx new picture", 16), 16u);
        EXPECT_TRUE(sink->rewriteStart("NEW!", 4));
        EXPECT_TRUE(sink->close());
        // The new file takes the old one's place in one step; there is no moment without either.
        EXPECT_TRUE(files.replace(pending, target));
        EXPECT_EQ(contents(files, target), "NEW! new picture");
        EXPECT_FALSE(exists(pending.wstring()));
        std::vector<std::uint8_t> bytes;
        EXPECT_EQ(files.read(target, bytes, 15), ReadOutcome::TooLarge);
        EXPECT_TRUE(files.truncate(target, 4));
        EXPECT_EQ(contents(files, target), "NEW!");
        EXPECT_TRUE(files.remove(target));
        EXPECT_TRUE(files.remove(target));  // a missing file counts as removed
        EXPECT_EQ(files.read(target, bytes, 100), ReadOutcome::CannotOpen);
    }
    // Failures carry the system's number and text.
    const fs::path nowhere = scratch.path() + L"missing\\" + kName;
    EXPECT_FALSE(files.create(nowhere));
    EXPECT_EQ(files.lastError().code, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(toUtf16(files.lastError().text).rfind(systemMessage(ERROR_PATH_NOT_FOUND), 0), 0u);
    EXPECT_FALSE(files.replace(nowhere, scratch.path() + L"b"));
    EXPECT_EQ(files.lastError().code, ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(files.truncate(nowhere, 0));
}

TEST(WinFileSystem, CreatesInspectsAndListsFoldersOfAnyNameAndLength) {
    WinFileSystem files;
    ScratchFolder scratch;
    const fs::path folder = scratch.path() + kName;
    EXPECT_FALSE(files.attributes(folder));
    EXPECT_TRUE(files.createDirectory(folder));
    EXPECT_FALSE(files.createDirectory(folder));  // exists already
    EXPECT_FALSE(files.createDirectory(folder / L"missing" / L"child"));
    const auto made = files.attributes(folder.wstring() + L"\\");
    ASSERT_TRUE(made);
    EXPECT_TRUE(made->directory && !made->readOnly);
    const std::wstring file = scratch.path() + kName + L".txt";
    ASSERT_TRUE(writeFile(file, "x"));
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    const EntryAttributes readOnly = files.attributes(file).value_or(EntryAttributes{true, false});
    EXPECT_TRUE(!readOnly.directory && readOnly.readOnly);
    // Level by level to far beyond MAX_PATH, as settling the folders creates them; forward slashes
    // and ".." still work in the long form.
    const std::wstring deep = deepFolder(scratch.path(), 3 * MAX_PATH, &files);
    EXPECT_TRUE(exists(deep));
    // A listing gives short names and no dot entries.
    ASSERT_TRUE(writeFile(deep + L"a long picture name.bmp", "x"));
    ASSERT_TRUE(files.createDirectory(deep + kName));
    EXPECT_TRUE(files.attributes(deep + kName + L"\\..\\" + kName + L"/"));
    const auto entries = files.listFolder(deep);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2u);
    for (const FolderEntry& e : *entries) {
        EXPECT_EQ(e.directory, e.name == kName) << e.name;
        EXPECT_TRUE(e.directory ||
                    e.shortName == files.shortPath(deep + e.name.wstring()).filename());
    }
    EXPECT_FALSE(files.listFolder(deep + L"missing"));
    EXPECT_FALSE(files.listFolder(deep + L"a long picture name.bmp"));
}

// (SFDIR naming the sound folder, and short forms kept for the recent files: end to end.)
TEST(WinFileSystem, CurrentFolderAndVariables) {
    WinFileSystem files;
    ScratchFolder scratch;
    const std::wstring folder = scratch.path() + kName;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    wchar_t previous[MAX_PATH * 2];
    GetCurrentDirectoryW(MAX_PATH * 2, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
    const auto current = files.currentDirectory();
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(current, fs::path(folder));
    SetEnvironmentVariableW(L"SFDIR", std::wstring(20000, L'q').c_str());
    EXPECT_EQ(files.environmentVariable("SFDIR"), std::string(20000, 'q'));
    SetEnvironmentVariableW(L"SFDIR", nullptr);
    EXPECT_EQ(files.environmentVariable("SFDIR"), std::nullopt);
}

}  // namespace
}  // namespace lumetra::win
