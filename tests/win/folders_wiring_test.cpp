// The program folders between the program's paths and the core's UTF-8 folder strings, the rule of
// the folder browser's selection, and the file dialogs' filters and options as the platform
// takes them.

#include <windows.h>

#include <commdlg.h>

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/win/folder_browser.h"
#include "shell/win/file_dialogs.h"
#include "shell/win/program_folders.h"

namespace lumetra::win {
namespace {

const std::wstring kUmlautFolder = L"C:\\Bilder \u00e4\u00f6\u00fc\\\u6f22\u5b57\\";

// A file system of names only, outside ASCII included.
class NamedFolders : public FolderSystem {
  public:
    std::optional<std::string> modulePath() override { return module; }
    std::optional<std::string> currentDirectory() override { return "C:\\work"; }
    std::optional<EntryAttributes> attributes(const std::string& path) override {
        const auto found = entries.find(path);
        if (found == entries.end()) return std::nullopt;
        return found->second;
    }
    bool createDirectory(const std::string& path) override {
        created.insert(path);
        return true;
    }
    std::optional<std::string> environmentVariable(const std::string&) override { return sfdir; }

    std::optional<std::string> module;
    std::optional<std::string> sfdir;
    std::map<std::string, EntryAttributes> entries;
    std::set<std::string> created;
};

TEST(FoldersWiring, PathsTravelAsUtf8WithoutLoss) {
    const std::filesystem::path path(kUmlautFolder + L"Gr\u00fcn.bmp");
    const std::string text = utf8FromPath(path);
    EXPECT_EQ(text,
              "C:\\Bilder \xC3\xA4\xC3\xB6\xC3\xBC\\\xE6\xBC\xA2\xE5\xAD\x97\\Gr\xC3\xBCn.bmp");
    EXPECT_EQ(pathFromUtf8(text), path);
    EXPECT_EQ(folderOf(path).wstring(), kUmlautFolder);
    EXPECT_EQ(folderOf(std::filesystem::path(L"a.bmp")).wstring(), L"");

    const std::wstring longFolder = L"C:\\" + std::wstring(300, L'\u00e4') + L"\\";
    EXPECT_EQ(folderOf(std::filesystem::path(longFolder + L"x.bmp")).wstring(), longFolder);

    ProgramFolders folders{L"C:\\Prog\\",       kUmlautFolder,      L"C:\\Filters & more\\",
                           L"C:\\Prog\\Undo\\", L"D:\\Kl\u00e4nge", L""};
    const ProgramFolders back = fromCoreFolders(toCoreFolders(folders));
    EXPECT_EQ(back.baseFolder, folders.baseFolder);
    EXPECT_EQ(back.imageFolder, folders.imageFolder);
    EXPECT_EQ(back.filterFolder, folders.filterFolder);
    EXPECT_EQ(back.undoFolder, folders.undoFolder);
    EXPECT_EQ(back.soundfileFolder, folders.soundfileFolder);
    EXPECT_EQ(back.analysesFolder, folders.analysesFolder);
}

TEST(FoldersWiring, SettlesByTheCoreRulesIntoTheProgramsPaths) {
    NamedFolders system;
    system.module = "C:\\Programme \xC3\xA4\\Lumetra.exe";
    system.sfdir = "E:\\Kl\xC3\xA4nge";
    const std::string kept = "D:\\Bilder\\";
    system.entries[kept] = EntryAttributes{true, false};
    system.entries["D:\\Nur lesen\\"] = EntryAttributes{true, true};

    ProgramFolders folders;
    folders.imageFolder = pathFromUtf8(kept);
    folders.filterFolder = L"D:\\Nur lesen\\";
    folders.analysesFolder = L"D:\\gone\\";
    settleFolders(folders, system);
    const std::wstring base = L"C:\\Programme \u00e4\\";
    EXPECT_EQ(folders.baseFolder.wstring(), base);
    EXPECT_EQ(folders.imageFolder.wstring(), L"D:\\Bilder\\");
    EXPECT_EQ(folders.filterFolder.wstring(), base + L"Filters\\");
    EXPECT_EQ(folders.undoFolder.wstring(), base + L"Undo\\");
    EXPECT_EQ(folders.soundfileFolder.wstring(), L"E:\\Kl\u00e4nge\\");
    EXPECT_EQ(folders.analysesFolder.wstring(), base + L"Analyses\\");
    EXPECT_EQ(system.created, (std::set<std::string>{"C:\\Programme \xC3\xA4\\Filters\\",
                                                     "C:\\Programme \xC3\xA4\\Undo\\",
                                                     "C:\\Programme \xC3\xA4\\Analyses\\"}));
}

TEST(FolderBrowser, OnlyDriveLetterPathsCanBeConfirmed) {
    EXPECT_EQ(browserSelection(std::wstring(L"C:\\Kl\u00e4nge")).shownPath, L"C:\\Kl\u00e4nge");
    EXPECT_TRUE(browserSelection(std::wstring(L"C:\\Kl\u00e4nge")).confirmable);
    EXPECT_TRUE(browserSelection(std::wstring(L"z:\\")).confirmable);
    for (const std::wstring refused :
         {L"\\\\server\\share\\music", L"::{20D04FE0}", L"C", L"1:\\x", L""}) {
        const BrowserSelection selection = browserSelection(refused);
        EXPECT_FALSE(selection.confirmable) << std::string(refused.begin(), refused.end());
        EXPECT_EQ(selection.shownPath, L"");
    }
    EXPECT_FALSE(browserSelection(std::nullopt).confirmable);
}

TEST(FileDialogs, FiltersAndOptionsInThePlatformsForm) {
    using namespace std::string_literals;
    const FileDialogSpec open = fileDialogSpec(FileDialogKind::OpenBitmap);
    EXPECT_EQ(dialogFilter(open),
              L"Bitmap files (*.bmp, *.gif, *.jpg, *.emf, *.wmf)\0"
              L"*.bmp;*.gif;*.jpg;*.jpeg;*.emf;*.wmf\0\0"s);
    EXPECT_EQ(dialogFlags(open), DWORD(OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST));

    const FileDialogSpec bitmap = fileDialogSpec(FileDialogKind::SaveBitmap);
    EXPECT_EQ(dialogFilter(bitmap), dialogFilter(open));
    EXPECT_EQ(dialogFlags(bitmap), DWORD(OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY));
    EXPECT_EQ(bitmap.title, "Save Bitmap");

    const FileDialogSpec sound = fileDialogSpec(FileDialogKind::SaveSound);
    EXPECT_EQ(dialogFilter(sound), L"PCM Wav files (*.wav)\0*.wav\0All files (*.*)\0*.*\0\0"s);
    EXPECT_EQ(dialogFlags(sound), DWORD(OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY));
    EXPECT_EQ(sound.defaultExtension, "wav");
}

}  // namespace
}  // namespace lumetra::win
