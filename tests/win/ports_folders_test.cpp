// The folder and path-name ports against Wine's file system: names outside ASCII, paths longer
// than MAX_PATH, the "SFDIR" variable, and settling the program folders through the real port.

#include <gtest/gtest.h>

#include <algorithm>

#include "base/win/utf16.h"
#include "base/win/win_path_names.h"
#include "ports_scratch.h"
#include "shell/file_list.h"
#include "shell/program_folders.h"
#include "shell/win/win_folder_system.h"

namespace lumetra::win {
namespace {

using ports::ScratchFolder;

// "Größe – Bild ŝ 漢字": Latin-1, a dash and a letter outside Latin-1, and CJK.
const std::wstring kName = L"Gr\u00f6\u00dfe \u2013 Bild \u015d \u6f22\u5b57";

std::string utf8(const std::wstring& text) {
    return toUtf8(text);
}

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

// The real port, except that the program file seems to lie in a folder of the test's choosing.
class RelocatedProgram : public FolderSystem {
  public:
    explicit RelocatedProgram(std::string programFile) : programFile_(std::move(programFile)) {}
    std::optional<std::string> modulePath() override { return programFile_; }
    std::optional<std::string> currentDirectory() override { return real_.currentDirectory(); }
    std::optional<EntryAttributes> attributes(const std::string& path) override {
        return real_.attributes(path);
    }
    bool createDirectory(const std::string& path) override { return real_.createDirectory(path); }
    std::optional<std::string> environmentVariable(const std::string& name) override {
        return real_.environmentVariable(name);
    }

  private:
    WinFolderSystem real_;
    std::string programFile_;
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

// --- WinFolderSystem ---------------------------------------------------------------------------

TEST(WinFolderSystem, FindsTheProgramAndTheCurrentFolderWithTheirFullNames) {
    WinFolderSystem system;
    const auto module = system.modulePath();
    ASSERT_TRUE(module);
    std::string lower = *module;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    EXPECT_TRUE(lower.ends_with("\\win_tests.exe")) << *module;
    const auto program = system.attributes(*module);
    ASSERT_TRUE(program);
    EXPECT_FALSE(program->directory);

    ScratchFolder scratch;
    const std::wstring folder = scratch.path() + kName;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    wchar_t previous[MAX_PATH * 2];
    GetCurrentDirectoryW(MAX_PATH * 2, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
    const auto current = system.currentDirectory();
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(current, utf8(folder));
}

TEST(WinFolderSystem, CreatesAndInspectsFoldersOfAnyNameAndLength) {
    WinFolderSystem system;
    ScratchFolder scratch;
    const std::string folder = utf8(scratch.path() + kName);
    EXPECT_FALSE(system.attributes(folder));
    EXPECT_TRUE(system.createDirectory(folder));
    EXPECT_FALSE(system.createDirectory(folder));  // exists already
    EXPECT_FALSE(system.createDirectory(folder + "\\missing\\child"));
    const auto made = system.attributes(folder + "\\");
    ASSERT_TRUE(made);
    EXPECT_TRUE(made->directory);
    EXPECT_FALSE(made->readOnly);

    const std::wstring file = scratch.path() + kName + L".txt";
    ASSERT_TRUE(ports::writeFile(file, "x"));
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    const auto readOnly = system.attributes(utf8(file));
    ASSERT_TRUE(readOnly);
    EXPECT_FALSE(readOnly->directory);
    EXPECT_TRUE(readOnly->readOnly);

    // Level by level to far beyond MAX_PATH, as settling the folders creates them.
    std::string deep = utf8(scratch.path());
    for (int level = 0; toUtf16(deep).size() < 3 * MAX_PATH; ++level) {
        deep += utf8(kName) + " " + std::to_string(level) + std::string(30, 'y') + "\\";
        ASSERT_TRUE(system.createDirectory(deep)) << toUtf16(deep).size() << " characters";
    }
    const auto deepest = system.attributes(deep);
    ASSERT_TRUE(deepest);
    EXPECT_TRUE(deepest->directory);
    EXPECT_NE(attributesOf(toUtf16(deep)), INVALID_FILE_ATTRIBUTES);
    // Forward slashes and ".." still work in the long form.
    std::string winding = deep + "..\\" + utf8(kName) + "/";
    EXPECT_TRUE(system.createDirectory(winding));
    EXPECT_TRUE(system.attributes(winding));
}

TEST(WinFolderSystem, ReadsTheSoundfileVariable) {
    WinFolderSystem system;
    {
        ScopedVariable sfdir(L"SFDIR", (L"D:\\Kl\u00e4nge\\" + kName).c_str());
        EXPECT_EQ(system.environmentVariable("SFDIR"), "D:\\Kl\xC3\xA4nge\\" + utf8(kName));
    }
    EXPECT_EQ(system.environmentVariable("SFDIR"), std::nullopt);
    const std::wstring huge(20000, L'q');
    ScopedVariable big(L"LUMETRA_PORT_TEST_HUGE", huge.c_str());
    EXPECT_EQ(system.environmentVariable("LUMETRA_PORT_TEST_HUGE"), utf8(huge));
}

TEST(WinFolderSystem, SettlesTheProgramFoldersOnDisk) {
    ScratchFolder scratch;
    // The program in a folder with a long name outside ASCII, deep enough that its folders need
    // the long form.
    const std::wstring base = deepFolder(scratch.path(), MAX_PATH);
    RelocatedProgram system(utf8(base + L"Lumetra.exe"));

    // Wine keeps no read-only mark on folders; a read-only file stands in for an entry that
    // cannot hold the pictures.
    const std::wstring readOnlyEntry = scratch.path() + L"read only \u00e4";
    ASSERT_TRUE(ports::writeFile(readOnlyEntry, ""));
    ASSERT_TRUE(SetFileAttributesW(readOnlyEntry.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::wstring kept = scratch.path() + kName + L" Analysen";
    ASSERT_TRUE(CreateDirectoryW(kept.c_str(), nullptr));
    const std::wstring sfdir = scratch.path() + L"Kl\u00e4nge";  // no trailing backslash

    ProgramFolders folders;
    folders.imageFolder = utf8(readOnlyEntry);
    folders.filterFolder = utf8(scratch.path() + L"vanished\\");
    folders.analysesFolder = utf8(kept);
    ScopedVariable variable(L"SFDIR", sfdir.c_str());
    settleFolders(folders, system);

    EXPECT_EQ(folders.baseFolder, utf8(base));
    EXPECT_EQ(folders.imageFolder, utf8(base + L"Images\\"));
    EXPECT_EQ(folders.filterFolder, utf8(base + L"Filters\\"));
    EXPECT_EQ(folders.undoFolder, utf8(base + L"Undo\\"));
    EXPECT_EQ(folders.soundfileFolder, utf8(sfdir + L"\\"));
    EXPECT_EQ(folders.analysesFolder, utf8(kept));
    for (const wchar_t* made : {L"Images\\", L"Filters\\", L"Undo\\"}) {
        const DWORD attributes = attributesOf(base + made);
        EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << utf8(made);
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << utf8(made);
    }
    EXPECT_EQ(attributesOf(base + L"Analyses\\"), INVALID_FILE_ATTRIBUTES);  // a kept folder
}

// --- WinPathNames ------------------------------------------------------------------------------

bool isShortName(const std::string& name) {
    const auto dot = name.find('.');
    const std::string stem = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    return !stem.empty() && stem.size() <= 8 && extension.size() <= 3 &&
           std::all_of(name.begin(), name.end(), [](char c) { return c > ' ' && c < 127; });
}

TEST(WinPathNames, ShortAndLongFormsRoundTripForNamesOutsideAscii) {
    ScratchFolder scratch;
    const std::wstring folder = scratch.path() + kName + L"\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring file = folder + L"Bild mit \u00e4\u00f6\u00fc und einem langen Namen.bmp";
    ASSERT_TRUE(ports::writeFile(file, "BM"));

    WinPathNames names;
    const std::string shortForm = names.shortPath(utf8(file));
    EXPECT_NE(shortForm, utf8(file));
    const std::string last = shortForm.substr(shortForm.find_last_of('\\') + 1);
    EXPECT_TRUE(isShortName(last)) << last;
    EXPECT_TRUE(names.exists(shortForm));
    EXPECT_EQ(names.longPath(shortForm), utf8(file));

    // Other spellings of the same file give the same short form.
    std::wstring slashes = file;
    std::replace(slashes.begin(), slashes.end(), L'\\', L'/');
    EXPECT_EQ(names.shortPath(utf8(slashes)), shortForm);
    EXPECT_EQ(names.shortPath(utf8(folder + L"..\\" + kName + L"\\" + file.substr(folder.size()))),
              shortForm);
    EXPECT_EQ(names.shortPath(shortForm), shortForm);

    // A missing file keeps its path.
    const std::string missing = utf8(folder + L"fehlt \u00fc.bmp");
    EXPECT_FALSE(names.exists(missing));
    EXPECT_EQ(names.shortPath(missing), missing);
    EXPECT_EQ(names.longPath(missing), missing);

    // The recent-files list sees one file, shown by its long name.
    FileList list(names);
    EXPECT_TRUE(list.add(utf8(file)));
    EXPECT_FALSE(list.add(shortForm));
    EXPECT_FALSE(list.add(utf8(slashes)));
    ASSERT_EQ(list.menuItems().size(), 1u);
    EXPECT_EQ(list.menuItems()[0].text, utf8(file.substr(folder.size())));
}

TEST(WinPathNames, PathsLongerThanMaxPathWork) {
    ScratchFolder scratch;
    const std::wstring folder = deepFolder(scratch.path(), 2 * MAX_PATH);
    const std::wstring file = folder + kName + L" am Ende des langen Pfades.bmp";
    ASSERT_GT(file.size(), std::size_t(2 * MAX_PATH));
    ASSERT_TRUE(ports::writeFile(file, "BM"));

    WinPathNames names;
    EXPECT_TRUE(names.exists(utf8(file)));
    const std::string shortForm = names.shortPath(utf8(file));
    EXPECT_LT(toUtf16(shortForm).size(), file.size());
    EXPECT_EQ(shortForm.rfind("\\\\?\\", 0), std::string::npos) << "prefix left in the result";
    EXPECT_TRUE(names.exists(shortForm));
    EXPECT_EQ(names.longPath(shortForm), utf8(file));
    EXPECT_FALSE(names.exists(utf8(folder + L"nothing here.bmp")));
}

}  // namespace
}  // namespace lumetra::win
