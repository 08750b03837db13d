// The file-system port against Wine's file system: names outside ASCII, paths longer than MAX_PATH,
// a file replaced in one step, the system's own error texts, short and long names, variables.

#include "win_test.h"

namespace lumetra::win {
namespace {

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
    const auto readOnly = files.attributes(file);
    ASSERT_TRUE(readOnly);
    EXPECT_TRUE(!readOnly->directory && readOnly->readOnly);

    // Level by level to far beyond MAX_PATH, as settling the folders creates them; forward slashes
    // and ".." still work in the long form.
    const std::wstring deep = deepFolder(scratch.path(), 3 * MAX_PATH, &files);
    EXPECT_TRUE(exists(deep));
    const std::wstring winding = deep + L"..\\" + kName + L"/";
    EXPECT_TRUE(files.createDirectory(winding));
    EXPECT_TRUE(files.attributes(winding));

    // A listing gives short names and no dot entries.
    ASSERT_TRUE(writeFile(deep + L"a long picture name.bmp", "x"));
    ASSERT_TRUE(files.createDirectory(deep + kName));
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
TEST(WinFileSystem, CurrentFolderVariablesAndShortForms) {
    WinFileSystem files;
    ScratchFolder scratch;
    const std::wstring folder = scratch.path() + kName, file = folder + L"\\langer Name \u00e4.bmp";
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
    // Other spellings of the same file meet in one short form.
    ASSERT_TRUE(writeFile(file, "BM"));
    const fs::path shortForm = files.shortPath(file);
    EXPECT_NE(shortForm, fs::path(file));
    EXPECT_EQ(files.longPath(shortForm), fs::path(file));
    std::wstring slashes = file;
    std::replace(slashes.begin(), slashes.end(), L'\\', L'/');
    EXPECT_EQ(files.shortPath(slashes), shortForm);
}

}  // namespace
}  // namespace lumetra::win
