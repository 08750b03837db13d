#include "shell/file_list.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "memory_file_system.h"
#include "memory_value_store.h"

namespace lumetra {
namespace {

using test::MemoryValueStore;

using testing::MemoryFileSystem;

const std::string kFolder = "C:\\Pictures\\";
const std::string kKey = "RecentFiles";

std::string picture(int i) {
    return kFolder + "picture" + std::to_string(i) + ".bmp";
}

// The text of a listed path, or "<none>".
std::string text(const std::optional<std::filesystem::path>& path) {
    return path ? utf8FromPath(*path) : "<none>";
}

class FileListTest : public ::testing::Test {
  protected:
    // Adds the pictures first..last as files that exist.
    void addPictures(int first, int last) {
        for (int i = first; i <= last; ++i) {
            files_.put(picture(i), "");
            list_.add(picture(i));
        }
    }
    // Registers a file under its long path and its 8.3 form, Windows style; the long path.
    std::string file(const std::string& folder, const std::string& longName,
                     const std::string& shortName) {
        const std::filesystem::path longPath = pathFromUtf8(folder + longName);
        files_.shortForms.emplace_back(longPath, pathFromUtf8(folder + shortName));
        files_.put(longPath, "");
        files_.put(pathFromUtf8(folder + shortName), "");
        return folder + longName;
    }

    MemoryFileSystem files_;
    MemoryValueStore store_;
    FileList list_{files_};
};

TEST_F(FileListTest, ElevenPicturesLeaveTheLastTenNewestFirst) {
    for (int i = 1; i <= 11; ++i)
        EXPECT_TRUE(list_.add(picture(i)));
    ASSERT_EQ(list_.size(), 10u);
    EXPECT_EQ(text(list_.entry(0)), picture(2));
    EXPECT_EQ(text(list_.entry(9)), picture(11));
    EXPECT_FALSE(list_.entry(10));
    const auto items = list_.menuItems();
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items.front(), (RecentMenuItem{3409, "picture11.bmp"}));
    EXPECT_EQ(items.back(), (RecentMenuItem{3400, "picture2.bmp"}));
    // Each item's command leads back to the entry it shows; the oldest picture is gone.
    for (const RecentMenuItem& item : items) {
        EXPECT_NE(item.text, "picture1.bmp");
        EXPECT_EQ(kFolder + item.text, text(list_.entryForCommand(item.command)));
    }
}

TEST_F(FileListTest, AListedFileKeepsItsPlace) {
    addPictures(1, 3);
    EXPECT_FALSE(list_.add(picture(1)));
    EXPECT_EQ(list_.size(), 3u);
    EXPECT_EQ(text(list_.entry(0)), picture(1));
    EXPECT_EQ(text(list_.entry(2)), picture(3));
}

TEST_F(FileListTest, LongAndShortSpellingsGiveOneEntryShownByItsLongName) {
    const std::string name = "Gr\xC3\xBCne Wiese \xE6\x9C\xA8 mit langem Namen.bmp";
    const std::string longPath = file("C:\\My Pictures\\", name, "GRNEWI~1.BMP");
    const std::string shortPath = "C:\\My Pictures\\GRNEWI~1.BMP";
    EXPECT_TRUE(list_.add(pathFromUtf8(longPath)));
    EXPECT_FALSE(list_.add(shortPath));
    ASSERT_EQ(list_.size(), 1u);
    // The menu shows the long name whole; the stored path is the short one.
    EXPECT_EQ(text(list_.entry(0)), shortPath);
    EXPECT_EQ(list_.menuItems(), (std::vector<RecentMenuItem>{{3400, name}}));
    EXPECT_EQ(text(list_.entryForCommand(3400)), shortPath);
    // A long path in the store loads as its short form too.
    store_.put(kKey, textValue("0", longPath));
    FileList loaded(files_);
    loaded.load(store_);
    EXPECT_EQ(text(loaded.entry(0)), shortPath);
}

TEST_F(FileListTest, MenuStateAndCommands) {
    EXPECT_FALSE(list_.menuEnabled());
    EXPECT_TRUE(list_.menuItems().empty());
    EXPECT_FALSE(list_.entryForCommand(3400));
    list_.add(picture(1));
    EXPECT_TRUE(list_.menuEnabled());
    EXPECT_EQ(text(list_.entryForCommand(3400)), picture(1));
    for (int command : {3399, 3401, 3411})
        EXPECT_FALSE(list_.entryForCommand(command)) << command;
    EXPECT_EQ(FileList::kMenuCaption, "Recent &Files");
}

TEST_F(FileListTest, SaveWritesIndicesAndRemovesTheRest) {
    for (int i = 0; i < 10; ++i)
        store_.put(kKey, textValue(std::to_string(i), "C:\\old" + std::to_string(i) + ".bmp"));
    addPictures(1, 4);
    list_.save(store_);
    EXPECT_EQ(store_.names(kKey), (std::vector<std::string>{"0", "1", "2", "3"}));
    for (int i = 0; i < 4; ++i) {
        const StoredValue* v = store_.find(kKey, std::to_string(i));
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->type, StoredType::String);
        EXPECT_EQ(textFrom(*v), picture(i + 1));
    }
}

TEST_F(FileListTest, LoadTakesExistingStringEntriesInStoreOrder) {
    for (int i = 1; i <= 5; ++i)
        files_.put(picture(i), "");
    files_.addFolder("C:\\");
    store_.put(kKey, textValue("0", picture(1)));
    store_.put(kKey, textValue("1", picture(2)));
    store_.put(kKey, textValue("2", "C:\\gone.bmp"));  // vanished since the last run
    store_.put(kKey, textValue("3", "C:\\"));          // there, but three characters: ignored
    store_.put(kKey, dwordValue("4", 12345));
    store_.put(kKey, StoredValue{"5", StoredType::Binary, {'C', ':', '\\', 'x', '.', 'b'}});
    store_.put(kKey, StoredValue{"6", StoredType::MultiString, {}});
    const std::string third = picture(3);
    std::vector<std::uint8_t> multi(third.begin(), third.end());
    multi.insert(multi.end(), {0, 'x', 0, 0});
    store_.put(kKey, StoredValue{"7", StoredType::MultiString, multi});
    store_.put(kKey, textValue("8", picture(1)));  // a duplicate
    list_.add(picture(5));
    list_.load(store_);
    ASSERT_EQ(list_.size(), 3u);
    EXPECT_EQ(text(list_.entry(0)), picture(1));
    EXPECT_EQ(text(list_.entry(1)), picture(2));
    EXPECT_EQ(text(list_.entry(2)), picture(3));
}

TEST_F(FileListTest, AnEmptyOrFailingStoreKeepsTheListSilently) {
    addPictures(7, 7);
    list_.load(store_);
    EXPECT_EQ(list_.size(), 1u);

    store_.put(kKey, textValue("0", picture(1)));
    files_.put(picture(1), "");
    store_.failingKeys = {kKey};
    EXPECT_NO_THROW(list_.load(store_));
    EXPECT_EQ(text(list_.entry(0)), picture(7));
    EXPECT_NO_THROW(list_.save(store_));

    MemoryValueStore partial;
    partial.failingWrites = {"1"};
    addPictures(8, 9);
    list_.save(partial);
    EXPECT_EQ(partial.names(kKey), std::vector<std::string>{"0"});
}

}  // namespace
}  // namespace lumetra
