#include "shell/program_folders.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace lumetra {
namespace {

// A Windows-like file system of folders and files named by full paths. Folder names are kept
// with a trailing backslash; lookups accept them with or without.
class FakeFolderSystem : public FolderSystem {
  public:
    std::optional<std::string> module = "C:\\Program Files\\Lumetra\\Lumetra.exe";
    std::optional<std::string> current = "C:\\Users\\me";
    std::map<std::string, std::string> environment;
    std::map<std::string, EntryAttributes> entries{{"C:\\", {true, false}},
                                                   {"C:\\Program Files\\", {true, false}},
                                                   {"C:\\Program Files\\Lumetra\\", {true, false}},
                                                   {"C:\\Users\\", {true, false}},
                                                   {"C:\\Users\\me\\", {true, false}}};
    std::vector<std::string> createCalls;

    std::optional<std::string> modulePath() override { return module; }
    std::optional<std::string> currentDirectory() override { return current; }
    std::optional<EntryAttributes> attributes(const std::string& path) override {
        auto it = entries.find(path);
        if (it == entries.end()) it = entries.find(path + "\\");
        if (it == entries.end()) return std::nullopt;
        return it->second;
    }
    bool createDirectory(const std::string& path) override {
        createCalls.push_back(path);
        const std::string folder = path.back() == '\\' ? path : path + "\\";
        if (entries.count(folder)) return false;
        if (!entries.count(folderOfPath(folder.substr(0, folder.size() - 1)))) return false;
        entries[folder] = {true, false};
        return true;
    }
    std::optional<std::string> environmentVariable(const std::string& name) override {
        auto it = environment.find(name);
        if (it == environment.end()) return std::nullopt;
        return it->second;
    }
    bool isFolder(const std::string& path) const {
        auto it = entries.find(path);
        return it != entries.end() && it->second.directory;
    }
};

const std::string kBase = "C:\\Program Files\\Lumetra\\";

TEST(PathHelpers, FolderOfPath) {
    EXPECT_EQ(folderOfPath("C:\\Images\\a.bmp"), "C:\\Images\\");
    EXPECT_EQ(folderOfPath("C:\\a.bmp"), "C:\\");
    EXPECT_EQ(folderOfPath("a.bmp"), "");
    EXPECT_EQ(folderOfPath("C:a.bmp"), "C:");
    EXPECT_EQ(folderOfPath("C:\\Images\\"), "C:\\Images\\");
    EXPECT_EQ(folderOfPath("D:/music/take 1.wav"), "D:/music/");
    EXPECT_EQ(folderOfPath("\\\\server\\share\\pic.bmp"), "\\\\server\\share\\");
    EXPECT_EQ(folderOfPath("C:\\Bilder\\Gr\xC3\xBCn\\\xE6\x9C\xA8.bmp"),
              "C:\\Bilder\\Gr\xC3\xBCn\\");
    EXPECT_EQ(folderOfPath(""), "");
}

TEST(PathHelpers, EnsureTrailingBackslash) {
    EXPECT_EQ(ensureTrailingBackslash("C:\\Sounds"), "C:\\Sounds\\");
    EXPECT_EQ(ensureTrailingBackslash("C:\\Sounds\\"), "C:\\Sounds\\");
    EXPECT_EQ(ensureTrailingBackslash("C:/Sounds/"), "C:/Sounds/");
    EXPECT_EQ(ensureTrailingBackslash("C:"), "C:\\");
    EXPECT_EQ(ensureTrailingBackslash(""), "");
}

// The folders as settling leaves them over `fs`, from the stored ones given.
ProgramFolders settled(FakeFolderSystem& fs, ProgramFolders folders = {}) {
    settleFolders(folders, fs);
    return folders;
}

TEST(ProgramFolders, NothingStoredGivesTheFoldersBesideTheProgram) {
    FakeFolderSystem fs;
    const ProgramFolders folders = settled(fs);
    EXPECT_EQ(folders.baseFolder, kBase);
    EXPECT_EQ(folders.imageFolder, kBase + "Images\\");
    EXPECT_EQ(folders.filterFolder, kBase + "Filters\\");
    EXPECT_EQ(folders.undoFolder, kBase + "Undo\\");
    EXPECT_EQ(folders.soundfileFolder, kBase);
    EXPECT_EQ(folders.analysesFolder, kBase + "Analyses\\");
    for (const char* name : {"Images\\", "Filters\\", "Undo\\", "Analyses\\"})
        EXPECT_TRUE(fs.isFolder(kBase + name)) << name;
    EXPECT_EQ(fs.createCalls, (std::vector<std::string>{kBase + "Images\\", kBase + "Filters\\",
                                                        kBase + "Undo\\", kBase + "Analyses\\"}));
}

TEST(ProgramFolders, StoredFoldersAreKeptOnlyWhileUsable) {
    FakeFolderSystem fs;
    for (const char* folder : {"D:\\", "D:\\Pics\\", "D:\\Wav\\"})
        fs.entries[folder] = {true, false};
    fs.entries["D:\\Locked\\"] = {true, true};
    fs.entries["D:\\notes.txt"] = {false, false};
    const std::string music = "C:\\Users\\me\\M\xC3\xBCsik\\";
    // It exists, but has more than the 255 characters kept.
    const std::string overlong = "C:\\Users\\me\\" + std::string(250, 'x') + "\\";
    fs.entries[music] = fs.entries[overlong] = {true, false};
    fs.environment["SFDIR"] = "E:\\Elsewhere";
    const struct {
        std::string ProgramFolders::*field;
        std::string stored, settled;
    } cases[] = {
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
    for (const auto& c : cases) {
        ProgramFolders stored;
        stored.*c.field = c.stored;
        EXPECT_EQ(settled(fs, stored).*c.field, c.settled) << c.stored;
    }
    // Kept folders are not made again; the undo folder always is.
    fs.createCalls.clear();
    ProgramFolders kept;
    kept.imageFolder = music;
    kept.filterFolder = "D:\\Pics";
    kept.soundfileFolder = "D:\\Wav";
    kept.analysesFolder = "D:\\Wav\\";
    settled(fs, kept);
    EXPECT_EQ(fs.createCalls, std::vector<std::string>{kBase + "Undo\\"});
}

TEST(ProgramFolders, SoundfileFolderFromTheEnvironment) {
    FakeFolderSystem fs;
    fs.environment["SFDIR"] = "D:\\Sounds";
    EXPECT_EQ(settled(fs).soundfileFolder, "D:\\Sounds\\");
    fs.environment["SFDIR"] = "";  // set but empty: not a folder
    EXPECT_EQ(settled(fs).soundfileFolder, kBase);
}

TEST(ProgramFolders, WithoutTheModulePathTheCurrentDirectoryIsTheBase) {
    FakeFolderSystem fs;
    fs.module.reset();
    const ProgramFolders folders = settled(fs);
    EXPECT_EQ(folders.baseFolder, "C:\\Users\\me\\");
    EXPECT_EQ(folders.imageFolder, "C:\\Users\\me\\Images\\");
    EXPECT_TRUE(fs.isFolder("C:\\Users\\me\\Images\\"));
    fs.current = "D:\\";
    EXPECT_EQ(settled(fs).baseFolder, "D:\\");
}

TEST(ProgramFolders, FoldersThatCannotBeMadeAreKeptAnyway) {
    FakeFolderSystem fs;
    fs.module = "Q:\\Missing\\Lumetra.exe";
    const ProgramFolders folders = settled(fs);
    EXPECT_EQ(folders.imageFolder, "Q:\\Missing\\Images\\");
    EXPECT_FALSE(fs.isFolder("Q:\\Missing\\Images\\"));
    EXPECT_EQ(folders.soundfileFolder, "Q:\\Missing\\");
}

}  // namespace
}  // namespace lumetra
