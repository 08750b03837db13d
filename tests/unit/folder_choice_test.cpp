#include "shell/folder_choice.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(FileDialogs, TitlesFiltersAndOptions) {
    const FileDialogSpec open = fileDialogSpec(FileDialogKind::OpenBitmap);
    EXPECT_FALSE(open.save);
    EXPECT_EQ(open.title, "Open a bitmap file");
    ASSERT_EQ(open.filters.size(), 1u);
    EXPECT_EQ(open.filters[0].description, "Bitmap files (*.bmp, *.gif, *.jpg, *.emf, *.wmf)");
    EXPECT_EQ(open.filters[0].pattern, "*.bmp;*.gif;*.jpg;*.jpeg;*.emf;*.wmf");
    EXPECT_TRUE(open.fileMustExist);
    EXPECT_FALSE(open.overwritePrompt);
    EXPECT_EQ(open.defaultExtension, "");

    const FileDialogSpec bitmap = fileDialogSpec(FileDialogKind::SaveBitmap);
    EXPECT_TRUE(bitmap.save);
    EXPECT_EQ(bitmap.title, "Save Bitmap");
    EXPECT_EQ(bitmap.defaultExtension, "bmp");
    EXPECT_TRUE(bitmap.overwritePrompt);
    EXPECT_TRUE(bitmap.hideReadOnly);

    const FileDialogSpec sound = fileDialogSpec(FileDialogKind::SaveSound);
    EXPECT_EQ(sound.title, "Save Soundfile");
    ASSERT_EQ(sound.filters.size(), 2u);
    EXPECT_EQ(sound.filters[0].description, "PCM Wav files (*.wav)");
    EXPECT_EQ(sound.filters[0].pattern, "*.wav");
    EXPECT_EQ(sound.filters[1].description, "All files (*.*)");
    EXPECT_EQ(sound.filters[1].pattern, "*.*");
    EXPECT_EQ(sound.defaultExtension, "wav");
    EXPECT_TRUE(sound.overwritePrompt);
}

TEST(FileDialogs, StartingFolderAndName) {
    ProgramFolders folders;
    folders.imageFolder = "C:\\L\\Images\\";
    folders.soundfileFolder = "D:\\Wav\\";
    auto open = fileDialogStart(FileDialogKind::OpenBitmap, folders, "C:\\x\\y.bmp", "y.bmp");
    EXPECT_EQ(open.folder, "C:\\L\\Images\\");
    EXPECT_EQ(open.fileName, "");
    auto bitmap = fileDialogStart(FileDialogKind::SaveBitmap, folders, "E:\\Pics\\cat.bmp", "cat");
    EXPECT_EQ(bitmap.folder, "E:\\Pics\\");
    EXPECT_EQ(bitmap.fileName, "");
    auto sound = fileDialogStart(FileDialogKind::SaveSound, folders, "", "cat07.wav");
    EXPECT_EQ(sound.folder, "D:\\Wav\\");
    EXPECT_EQ(sound.fileName, "cat07.wav");
}

TEST(FolderBrowser, OnlyDriveLetterPathsCanBeChosen) {
    EXPECT_TRUE(hasDriveLetter("C:\\"));
    EXPECT_TRUE(hasDriveLetter("z:\\Music"));
    EXPECT_FALSE(hasDriveLetter("\\\\server\\share"));
    EXPECT_FALSE(hasDriveLetter(""));
    EXPECT_FALSE(hasDriveLetter("C"));
    EXPECT_FALSE(hasDriveLetter("::{20D04FE0}"));
    EXPECT_FALSE(hasDriveLetter("1:\\"));
}

TEST(FolderBrowser, SameFolderIgnoresCaseSeparatorsAndTrailingSeparator) {
    EXPECT_TRUE(sameFolder("C:\\Lumetra\\Filters\\", "c:\\lumetra\\filters"));
    EXPECT_TRUE(sameFolder("C:/Lumetra/Filters", "C:\\Lumetra\\Filters\\"));
    EXPECT_TRUE(sameFolder("C:\\", "c:\\"));
    EXPECT_FALSE(sameFolder("C:\\", "C:"));
    EXPECT_FALSE(sameFolder("C:\\Filters", "C:\\Filters2"));
    EXPECT_FALSE(sameFolder("C:\\Gr\xC3\xBCn", "C:\\GR\xC3\x9CN"));  // only ASCII folds
}

TEST(FolderCommands, TitlesStatusTextsAndRefusedChoices) {
    ASSERT_TRUE(folderCommand(402));
    EXPECT_EQ(folderCommand(402)->title, "Select Default Filter Folder");
    EXPECT_EQ(folderCommand(412)->title, "Select Default Soundfile Folder");
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
