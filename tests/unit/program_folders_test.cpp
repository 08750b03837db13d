#include "shell/program_folders.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "memory_file_system.h"

namespace lumetra {
namespace {

using testing::MemoryFileSystem;

// The program in "C:\Program Files\Lumetra", started from the user's folder.
MemoryFileSystem windowsFiles() {
    MemoryFileSystem files;
    files.module = "C:\\Program Files\\Lumetra\\Lumetra.exe";
    files.current = "C:\\Users\\me";
    for (const char* folder : {"C:\\", "C:\\Program Files\\", "C:\\Program Files\\Lumetra\\",
                               "C:\\Users\\", "C:\\Users\\me\\"})
        files.addFolder(folder);
    return files;
}

const std::string kBase = "C:\\Program Files\\Lumetra\\";

TEST(PathHelpers, FolderOfPathAndTrailingBackslash) {
    EXPECT_EQ(folderOfPath("C:\\Images\\a.bmp"), "C:\\Images\\");
    EXPECT_EQ(folderOfPath("a.bmp") + folderOfPath(""), "");
    EXPECT_EQ(folderOfPath("C:a.bmp"), "C:");
    EXPECT_EQ(folderOfPath("D:/music/take 1.wav"), "D:/music/");
    EXPECT_EQ(folderOfPath("\\\\server\\share\\pic.bmp"), "\\\\server\\share\\");
    EXPECT_EQ(folderOfPath("C:\\Gr\xC3\xBCn\\\xE6\x9C\xA8.bmp"), "C:\\Gr\xC3\xBCn\\");
    EXPECT_EQ(ensureTrailingBackslash("C:\\Sounds") + ensureTrailingBackslash("C:\\S\\"),
              "C:\\Sounds\\C:\\S\\");
    EXPECT_EQ(ensureTrailingBackslash("C:/S/") + ensureTrailingBackslash("C:"), "C:/S/C:\\");
    EXPECT_EQ(ensureTrailingBackslash(""), "");
}

ProgramFolders settled(MemoryFileSystem& fs, ProgramFolders folders = {}) {
    settleFolders(folders, fs);
    return folders;
}

// The base, image, filter, undo, soundfile and analyses folders.
std::string text(const ProgramFolders& f) {
    std::string text;
    for (const auto* folder : {&f.baseFolder, &f.imageFolder, &f.filterFolder, &f.undoFolder,
                               &f.soundfileFolder, &f.analysesFolder})
        text += utf8FromPath(*folder) + "|";
    return text;
}

std::string beside(const std::string& b) {
    return b + "|" + b + "Images\\|" + b + "Filters\\|" + b + "Undo\\|" + b + "|" + b +
           "Analyses\\|";
}

TEST(ProgramFolders, NothingStoredGivesTheFoldersBesideTheProgram) {
    MemoryFileSystem fs = windowsFiles();
    EXPECT_EQ(text(settled(fs)), beside(kBase));
    EXPECT_EQ(fs.createdFolders,
              (std::vector<std::filesystem::path>{kBase + "Images\\", kBase + "Filters\\",
                                                  kBase + "Undo\\", kBase + "Analyses\\"}));
    // Without the module path the current directory is the base; folders that cannot be made are
    // kept anyway.
    fs.module.reset();
    EXPECT_EQ(text(settled(fs)), beside("C:\\Users\\me\\"));
    EXPECT_TRUE(fs.isFolder("C:\\Users\\me\\Images\\"));
    fs.module = "Q:\\Missing\\Lumetra.exe";
    EXPECT_EQ(text(settled(fs)), beside("Q:\\Missing\\"));
    EXPECT_FALSE(fs.isFolder("Q:\\Missing\\Images\\"));
}

TEST(ProgramFolders, StoredFoldersAreKeptOnlyWhileUsable) {
    MemoryFileSystem fs = windowsFiles();
    for (const char* folder : {"D:\\", "D:\\Pics\\", "D:\\Wav\\"})
        fs.addFolder(folder);
    fs.addFolder("D:\\Locked\\", /*readOnly=*/true);
    fs.put("D:\\notes.txt", "");
    const std::string music = "C:\\Users\\me\\M\xC3\xBCsik\\";
    // It exists, but has more than the 255 characters kept.
    const std::string overlong = "C:\\Users\\me\\" + std::string(250, 'x') + "\\";
    fs.addFolder(pathFromUtf8(music));
    fs.addFolder(overlong);
    fs.environment["SFDIR"] = "E:\\Elsewhere";
    using Field = std::filesystem::path ProgramFolders::*;
    const std::tuple<Field, std::string, std::string> cases[] = {
        {&ProgramFolders::imageFolder, "D:\\Pics\\", "D:\\Pics\\"},
        {&ProgramFolders::imageFolder, music, music},
        {&ProgramFolders::filterFolder, "D:\\Pics", "D:\\Pics"},
        {&ProgramFolders::soundfileFolder, "D:\\Wav", "D:\\Wav\\"},  // before the variable
        {&ProgramFolders::analysesFolder, "D:\\Wav\\", "D:\\Wav\\"},
        {&ProgramFolders::imageFolder, "D:\\Gone\\", kBase + "Images\\"},
        {&ProgramFolders::filterFolder, "D:\\Locked\\", kBase + "Filters\\"},
        {&ProgramFolders::filterFolder, overlong, kBase + "Filters\\"},
        {&ProgramFolders::analysesFolder, "D:\\notes.txt", kBase + "Analyses\\"},
        {&ProgramFolders::soundfileFolder, "D:\\Gone", "E:\\Elsewhere\\"},
    };
    for (const auto& [field, stored, expected] : cases) {
        ProgramFolders folders;
        folders.*field = pathFromUtf8(stored);
        EXPECT_EQ(utf8FromPath(settled(fs, folders).*field), expected) << stored;
    }
    // Kept folders are not made again; the undo folder always is.
    fs.createdFolders.clear();
    ProgramFolders kept;
    std::tie(kept.imageFolder, kept.filterFolder, kept.soundfileFolder, kept.analysesFolder) =
        std::tuple(pathFromUtf8(music), "D:\\Pics", "D:\\Wav", "D:\\Wav\\");
    settled(fs, kept);
    EXPECT_EQ(fs.createdFolders, std::vector<std::filesystem::path>{kBase + "Undo\\"});
}

}  // namespace
}  // namespace lumetra
