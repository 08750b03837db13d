// The recent-file list, the folder browser's checks and the folder commands.
#include <gtest/gtest.h>

#include "base/file_io.h"
#include "memory_file_system.h"
#include "memory_value_store.h"
#include "shell/file_list.h"
#include "shell/folder_choice.h"

namespace lumetra {
namespace {

const std::string kKey = "RecentFiles";

std::string picture(int i) {
    return "C:\\Pictures\\picture" + std::to_string(i) + ".bmp";
}

std::string text(const std::optional<std::filesystem::path>& path) {
    return path ? utf8FromPath(*path) : "<none>";
}

class FileListTest : public ::testing::Test {
  protected:
    testing::MemoryFileSystem files_;
    test::MemoryValueStore store_;
    FileList list_{files_};
};

TEST_F(FileListTest, TheLastTenPicturesNewestFirstWithTheirCommands) {
    // (The menu's items and their order: the Windows test of the menu.)
    EXPECT_FALSE(list_.entryForCommand(3400));
    for (int i = 1; i <= 11; ++i)
        EXPECT_TRUE(list_.add(picture(i)));
    EXPECT_FALSE(list_.add(picture(5)));  // a listed file keeps its place
    ASSERT_EQ(list_.size(), 10u);
    EXPECT_EQ(std::tuple(text(list_.entry(0)), text(list_.entry(3)), text(list_.entry(10))),
              std::tuple(picture(2), picture(5), "<none>"));
    EXPECT_EQ(std::tuple(text(list_.entryForCommand(3409)), text(list_.entryForCommand(3410)),
                         text(list_.entryForCommand(3399))),
              std::tuple(picture(11), "<none>", "<none>"));
}

TEST_F(FileListTest, LoadTakesExistingStringEntriesInStoreOrderAndAFailingStoreChangesNothing) {
    for (int i = 1; i <= 5; ++i)
        files_.put(picture(i), "");
    files_.addFolder("C:\\");
    const std::string third = picture(3) + std::string("\0x\0", 4);  // a list of two texts
    for (const StoredValue& value :
         {textValue("0", picture(1)), textValue("1", picture(2)),
          textValue("2", "C:\\gone.bmp"),  // vanished since the last run
          textValue("3", "C:\\"),          // there, but three characters: ignored
          dwordValue("4", 12345), StoredValue{"5", StoredType::Binary, {'C', ':', '\\', 'x'}},
          StoredValue{"6", StoredType::MultiString, {}},
          StoredValue{"7", StoredType::MultiString, {third.begin(), third.end()}},
          textValue("8", picture(1))})
        store_.put(kKey, value);
    list_.add(picture(5));
    store_.failingKeys = {kKey};
    list_.load(store_);
    EXPECT_EQ(text(list_.entry(0)), picture(5));
    store_.failingKeys.clear();
    list_.load(store_);
    ASSERT_EQ(list_.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(text(list_.entry(i)), picture(int(i) + 1));
}

TEST(FolderCommands, DriveLetterPathsTheSameFolderAndTheStatusTexts) {
    for (const char* path : {"\\\\server\\share", "", "C", "::{20D04FE0}", "1:\\"})
        EXPECT_FALSE(hasDriveLetter(path)) << path;
    // Case, separators and a trailing separator do not matter; only ASCII folds.
    EXPECT_TRUE(sameFolder("C:\\Lumetra\\Filters\\", "c:\\lumetra\\filters") &&
                sameFolder("C:/Lumetra/Filters", "C:\\Lumetra\\Filters\\"));
    EXPECT_FALSE(sameFolder("C:\\", "C:") || sameFolder("C:\\Filters", "C:\\Filters2") ||
                 sameFolder("C:\\Gr\xC3\xBCn", "C:\\GR\xC3\x9CN"));
    EXPECT_FALSE(folderCommand(401));
    ProgramFolders folders;
    folders.filterFolder = "C:\\L\\Filters\\";
    folders.soundfileFolder = "C:\\L\\";
    // The same folder in another spelling, a folder without a drive, another command: no change.
    const ProgramFolders before = folders;
    EXPECT_FALSE(applyFolderChoice(402, folders, "C:\\L\\Filters"));
    EXPECT_FALSE(applyFolderChoice(412, folders, "\\\\nas\\music"));
    EXPECT_FALSE(applyFolderChoice(999, folders, "D:\\"));
    EXPECT_EQ(folders, before);
    EXPECT_EQ(applyFolderChoice(402, folders, "D:\\Filters"), "Filter path: D:\\Filters");
    EXPECT_EQ(applyFolderChoice(412, folders, "z:\\"), "Soundfile path: z:\\");
    EXPECT_EQ(std::pair(folders.filterFolder, folders.soundfileFolder),
              std::pair(std::filesystem::path("D:\\Filters"), std::filesystem::path("z:\\")));
}

}  // namespace
}  // namespace lumetra
