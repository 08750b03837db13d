#include "shell/folder_choice.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

// (The dialogs' titles, filters and options are tables of texts: the Windows tests check them in
// the platform's form, the end-to-end scenarios the titles.)
TEST(FileDialogs, StartFolderAndName) {
    // The Save Bitmap dialog starts in the picture's folder, the others in their own folders.
    ProgramFolders folders;
    folders.imageFolder = "C:\\L\\Images\\";
    folders.soundfileFolder = "D:\\Wav\\";
    const std::tuple<FileDialogKind, const char*, const char*> starts[] = {
        {FileDialogKind::OpenBitmap, "C:\\L\\Images\\", ""},
        {FileDialogKind::SaveBitmap, "E:\\Pics\\", ""},
        {FileDialogKind::SaveSound, "D:\\Wav\\", "cat07.wav"}};
    for (const auto& [kind, folder, name] : starts) {
        const auto start = fileDialogStart(kind, folders, "E:\\Pics\\cat.bmp", "cat07.wav");
        EXPECT_EQ(start.folder, folder) << folder;
        EXPECT_EQ(start.fileName, name) << folder;
    }
}

TEST(FolderBrowser, DriveLetterPathsAndTheSameFolder) {
    for (const char* path : {"C:\\", "z:\\Music"})
        EXPECT_TRUE(hasDriveLetter(path)) << path;
    for (const char* path : {"\\\\server\\share", "", "C", "::{20D04FE0}", "1:\\"})
        EXPECT_FALSE(hasDriveLetter(path)) << path;
    // Case, separators and a trailing separator do not matter; only ASCII folds.
    EXPECT_TRUE(sameFolder("C:\\Lumetra\\Filters\\", "c:\\lumetra\\filters"));
    EXPECT_TRUE(sameFolder("C:/Lumetra/Filters", "C:\\Lumetra\\Filters\\"));
    EXPECT_TRUE(sameFolder("C:\\", "c:\\"));
    EXPECT_FALSE(sameFolder("C:\\", "C:"));
    EXPECT_FALSE(sameFolder("C:\\Filters", "C:\\Filters2"));
    EXPECT_FALSE(sameFolder("C:\\Gr\xC3\xBCn", "C:\\GR\xC3\x9CN"));
}

TEST(FolderCommands, StatusTextsAndRefusedChoices) {
    EXPECT_FALSE(folderCommand(401));
    ProgramFolders folders;
    folders.filterFolder = "C:\\L\\Filters\\";
    folders.soundfileFolder = "C:\\L\\";
    // The same folder in another spelling, a folder without a drive, another command: no change.
    const ProgramFolders before = folders;
    EXPECT_FALSE(applyFolderChoice(402, folders, "C:\\L\\Filters"));
    EXPECT_FALSE(applyFolderChoice(412, folders, "c:\\l"));
    EXPECT_FALSE(applyFolderChoice(412, folders, "\\\\nas\\music"));
    EXPECT_FALSE(applyFolderChoice(999, folders, "D:\\"));
    EXPECT_EQ(folders, before);

    EXPECT_EQ(applyFolderChoice(402, folders, "D:\\Filters"), "Filter path: D:\\Filters");
    EXPECT_EQ(folders.filterFolder, "D:\\Filters");
    EXPECT_EQ(applyFolderChoice(412, folders, "E:\\"), "Soundfile path: E:\\");
    EXPECT_EQ(folders.soundfileFolder, "E:\\");
}

}  // namespace
}  // namespace lumetra
