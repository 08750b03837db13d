// The file-system port against Wine's file system: names outside ASCII, paths longer than
// MAX_PATH, a file replaced in one step, the system's own error texts, short and long names,
// "SFDIR", and settling the program folders through the real port.

#include <gtest/gtest.h>

#include <algorithm>

#include "base/win/utf16.h"
#include "base/win/win_file_system.h"
#include "ports_scratch.h"
#include "shell/file_list.h"
#include "shell/program_folders.h"

namespace lumetra::win {
namespace {

using ports::ScratchFolder;
namespace fs = std::filesystem;

// "Größe – Bild ŝ 漢字": Latin-1, a dash and a letter outside Latin-1, and CJK.
const std::wstring kName = L"Gr\u00f6\u00dfe \u2013 Bild \u015d \u6f22\u5b57";

DWORD attributesOf(const std::wstring& path) {
    return GetFileAttributesW(ports::extended(path).c_str());
}

// A chain of folders below `base`, each level named after kName, until the path is longer than
// `length` characters. Returns the deepest folder with a trailing backslash.
std::wstring deepFolder(const std::wstring& base, std::size_t length) {
    std::wstring path = base;
    for (int level = 0; path.size() <= length; ++level) {
        path += kName + L" " + std::to_wstring(level) + L" " + std::wstring(20, L'x') + L"\\";
        CreateDirectoryW(ports::extended(path).c_str(), nullptr);
    }
    return path;
}

std::string contents(WinFileSystem& files, const fs::path& path) {
    std::vector<std::uint8_t> bytes;
    if (files.read(path, bytes, 1 << 20) != ReadOutcome::Read) return "<unreadable>";
    return std::string(bytes.begin(), bytes.end());
}

// The real port, except that the program file seems to lie in a folder of the test's choosing.
class RelocatedProgram final : public FileSystem {
  public:
    explicit RelocatedProgram(fs::path programFile) : programFile_(std::move(programFile)) {}
    std::optional<fs::path> modulePath() override { return programFile_; }

    std::unique_ptr<FileSink> create(const fs::path& p) override { return real_.create(p); }
    ReadOutcome read(const fs::path& p, std::vector<std::uint8_t>& b, std::uintmax_t m) override {
        return real_.read(p, b, m);
    }
    bool truncate(const fs::path& p, std::uintmax_t s) override { return real_.truncate(p, s); }
    bool replace(const fs::path& a, const fs::path& b) override { return real_.replace(a, b); }
    bool remove(const fs::path& p) override { return real_.remove(p); }
    SystemError lastError() override { return real_.lastError(); }
    std::optional<EntryAttributes> attributes(const fs::path& p) override {
        return real_.attributes(p);
    }
    bool createDirectory(const fs::path& p) override { return real_.createDirectory(p); }
    fs::path shortPath(const fs::path& p) override { return real_.shortPath(p); }
    fs::path longPath(const fs::path& p) override { return real_.longPath(p); }
    std::optional<fs::path> currentDirectory() override { return real_.currentDirectory(); }
    std::optional<std::string> environmentVariable(const std::string& n) override {
        return real_.environmentVariable(n);
    }

  private:
    WinFileSystem real_;
    fs::path programFile_;
};

// Sets an environment variable for one scope.
class ScopedVariable {
  public:
    ScopedVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
        SetEnvironmentVariableW(name, value);
    }
    ~ScopedVariable() { SetEnvironmentVariableW(name_, nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const wchar_t* name_;
};

TEST(WinFileSystem, WritesReadsReplacesAndRemovesFilesOfAnyNameAndLength) {
    ScratchFolder scratch;
    WinFileSystem files;
    for (const std::wstring& folder :
         {scratch.path(), deepFolder(scratch.path(), 2 * MAX_PATH)}) {
        SCOPED_TRACE(folder.size());
        const fs::path target = folder + kName + L".bmp";
        const fs::path pending = folder + kName + L".bmp.saving";
        ASSERT_TRUE(ports::writeFile(target.wstring(), "old picture"));

        auto sink = files.create(pending);
        ASSERT_TRUE(sink);
        EXPECT_EQ(sink->write("xxxx new picture", 16), 16u);
        EXPECT_TRUE(sink->rewriteStart("NEW!", 4));
        EXPECT_TRUE(sink->close());
        // The new file takes the old one's place in one step; there is no moment without either.
        EXPECT_TRUE(files.replace(pending, target));
        EXPECT_EQ(contents(files, target), "NEW! new picture");
        EXPECT_EQ(attributesOf(pending.wstring()), INVALID_FILE_ATTRIBUTES);

        std::vector<std::uint8_t> bytes;
        EXPECT_EQ(files.read(target, bytes, 15), ReadOutcome::TooLarge);
        EXPECT_TRUE(files.truncate(target, 4));
        EXPECT_EQ(contents(files, target), "NEW!");
        EXPECT_TRUE(files.remove(target));
        EXPECT_TRUE(files.remove(target));  // a missing file counts as removed
        EXPECT_EQ(files.read(target, bytes, 100), ReadOutcome::CannotOpen);
    }
}

TEST(WinFileSystem, FailuresCarryTheSystemsNumberAndText) {
    ScratchFolder scratch;
    WinFileSystem files;
    const fs::path nowhere = scratch.path() + L"missing\\" + kName;
    EXPECT_FALSE(files.create(nowhere));
    EXPECT_EQ(files.lastError().code, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(toUtf16(files.lastError().text).rfind(ports::systemMessage(ERROR_PATH_NOT_FOUND), 0),
              0u);
    EXPECT_FALSE(files.replace(nowhere, scratch.path() + L"b"));
    EXPECT_EQ(files.lastError().code, ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(files.truncate(nowhere, 0));
}

TEST(WinFileSystem, CreatesAndInspectsFoldersOfAnyNameAndLength) {
    WinFileSystem files;
    ScratchFolder scratch;
    const fs::path folder = scratch.path() + kName;
    EXPECT_FALSE(files.attributes(folder));
    EXPECT_TRUE(files.createDirectory(folder));
    EXPECT_FALSE(files.createDirectory(folder));  // exists already
    EXPECT_FALSE(files.createDirectory(folder / L"missing" / L"child"));
    const auto made = files.attributes(folder.wstring() + L"\\");
    ASSERT_TRUE(made);
    EXPECT_TRUE(made->directory);
    EXPECT_FALSE(made->readOnly);

    const std::wstring file = scratch.path() + kName + L".txt";
    ASSERT_TRUE(ports::writeFile(file, "x"));
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    const auto readOnly = files.attributes(file);
    ASSERT_TRUE(readOnly);
    EXPECT_FALSE(readOnly->directory);
    EXPECT_TRUE(readOnly->readOnly);

    // Level by level to far beyond MAX_PATH, as settling the folders creates them; forward
    // slashes and ".." still work in the long form.
    std::wstring deep = scratch.path();
    for (int level = 0; deep.size() < 3 * MAX_PATH; ++level) {
        deep += kName + L" " + std::to_wstring(level) + std::wstring(30, L'y') + L"\\";
        ASSERT_TRUE(files.createDirectory(deep)) << deep.size() << " characters";
    }
    EXPECT_NE(attributesOf(deep), INVALID_FILE_ATTRIBUTES);
    const std::wstring winding = deep + L"..\\" + kName + L"/";
    EXPECT_TRUE(files.createDirectory(winding));
    EXPECT_TRUE(files.attributes(winding));
}

TEST(WinFileSystem, FindsTheProgramTheCurrentFolderAndTheSoundfileVariable) {
    WinFileSystem files;
    const auto module = files.modulePath();
    ASSERT_TRUE(module);
    std::wstring lower = module->wstring();
    std::transform(lower.begin(), lower.end(), lower.begin(), towlower);
    EXPECT_TRUE(lower.ends_with(L"\\win_tests.exe")) << module->string();

    ScratchFolder scratch;
    const std::wstring folder = scratch.path() + kName;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    wchar_t previous[MAX_PATH * 2];
    GetCurrentDirectoryW(MAX_PATH * 2, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
    const auto current = files.currentDirectory();
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(current, fs::path(folder));

    {
        ScopedVariable sfdir(L"SFDIR", (L"D:\\Kl\u00e4nge\\" + kName).c_str());
        EXPECT_EQ(files.environmentVariable("SFDIR"), "D:\\Kl\xC3\xA4nge\\" + toUtf8(kName));
    }
    EXPECT_EQ(files.environmentVariable("SFDIR"), std::nullopt);
    const std::wstring huge(20000, L'q');
    ScopedVariable big(L"LUMETRA_PORT_TEST_HUGE", huge.c_str());
    EXPECT_EQ(files.environmentVariable("LUMETRA_PORT_TEST_HUGE"), toUtf8(huge));
}

TEST(WinFileSystem, SettlesTheProgramFoldersOnDisk) {
    ScratchFolder scratch;
    // The program in a folder with a long name outside ASCII, deep enough that its folders need
    // the long form.
    const std::wstring base = deepFolder(scratch.path(), MAX_PATH);
    RelocatedProgram system(base + L"Lumetra.exe");

    // Wine keeps no read-only mark on folders; a read-only file stands in for an entry that
    // cannot hold the pictures.
    const std::wstring readOnlyEntry = scratch.path() + L"read only \u00e4";
    ASSERT_TRUE(ports::writeFile(readOnlyEntry, ""));
    ASSERT_TRUE(SetFileAttributesW(readOnlyEntry.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::wstring kept = scratch.path() + kName + L" Analysen";
    ASSERT_TRUE(CreateDirectoryW(kept.c_str(), nullptr));
    const std::wstring sfdir = scratch.path() + L"Kl\u00e4nge";  // no trailing backslash

    ProgramFolders folders;
    folders.imageFolder = readOnlyEntry;
    folders.filterFolder = scratch.path() + L"vanished\\";
    folders.analysesFolder = kept;
    ScopedVariable variable(L"SFDIR", sfdir.c_str());
    settleFolders(folders, system);

    EXPECT_EQ(folders.baseFolder, fs::path(base));
    EXPECT_EQ(folders.imageFolder, fs::path(base + L"Images\\"));
    EXPECT_EQ(folders.filterFolder, fs::path(base + L"Filters\\"));
    EXPECT_EQ(folders.undoFolder, fs::path(base + L"Undo\\"));
    EXPECT_EQ(folders.soundfileFolder, fs::path(sfdir + L"\\"));
    EXPECT_EQ(folders.analysesFolder, fs::path(kept));
    for (const wchar_t* made : {L"Images\\", L"Filters\\", L"Undo\\"}) {
        const DWORD attributes = attributesOf(base + made);
        EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << toUtf8(made);
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << toUtf8(made);
    }
    EXPECT_EQ(attributesOf(base + L"Analyses\\"), INVALID_FILE_ATTRIBUTES);  // a kept folder
}

bool isShortName(const std::wstring& name) {
    const auto dot = name.find(L'.');
    const std::wstring stem = name.substr(0, dot);
    const std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot + 1);
    return !stem.empty() && stem.size() <= 8 && extension.size() <= 3 &&
           std::all_of(name.begin(), name.end(), [](wchar_t c) { return c > L' ' && c < 127; });
}

TEST(WinFileSystem, ShortAndLongNamesRoundTripAndMakeOneRecentEntry) {
    ScratchFolder scratch;
    WinFileSystem files;
    for (const std::wstring& folder :
         {scratch.path() + kName + L"\\", deepFolder(scratch.path(), 2 * MAX_PATH)}) {
        SCOPED_TRACE(folder.size());
        CreateDirectoryW(ports::extended(folder).c_str(), nullptr);
        const std::wstring file = folder + L"Bild mit \u00e4\u00f6\u00fc und langem Namen.bmp";
        ASSERT_TRUE(ports::writeFile(file, "BM"));

        const std::wstring shortForm = files.shortPath(file).wstring();
        EXPECT_LT(shortForm.size(), file.size());
        EXPECT_EQ(shortForm.rfind(L"\\\\?\\", 0), std::wstring::npos) << "prefix left over";
        EXPECT_TRUE(isShortName(shortForm.substr(shortForm.find_last_of(L'\\') + 1)));
        EXPECT_EQ(files.longPath(shortForm), fs::path(file));
        EXPECT_EQ(files.shortPath(shortForm), fs::path(shortForm));
        // A missing file keeps its path.
        const std::wstring missing = folder + L"fehlt \u00fc.bmp";
        EXPECT_EQ(files.shortPath(missing), fs::path(missing));
        EXPECT_EQ(files.longPath(missing), fs::path(missing));

        // Other spellings of the same file make one entry, shown by its long name.
        std::wstring slashes = file;
        std::replace(slashes.begin(), slashes.end(), L'\\', L'/');
        FileList list(files);
        EXPECT_TRUE(list.add(file));
        EXPECT_FALSE(list.add(shortForm));
        EXPECT_FALSE(list.add(slashes));
        ASSERT_EQ(list.menuItems().size(), 1u);
        EXPECT_EQ(list.menuItems()[0].text, toUtf8(file.substr(folder.size())));
    }
}

}  // namespace
}  // namespace lumetra::win
