#include "shell/file_list.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "memory_value_store.h"

namespace lumetra {
namespace {

using test::MemoryValueStore;

// Files with long names and their 8.3 forms, Windows style.
class FakePathNames : public PathNames {
  public:
    std::map<std::string, std::string> shortForms;  // long -> short
    std::set<std::string> existing;

    // Registers a file under its long path; its short form is made up like the platform's.
    std::string file(const std::string& folder, const std::string& longName,
                     const std::string& shortName) {
        shortForms[folder + longName] = folder + shortName;
        existing.insert(folder + longName);
        existing.insert(folder + shortName);
        return folder + longName;
    }

    std::string shortPath(const std::string& path) override {
        auto it = shortForms.find(path);
        return it == shortForms.end() ? path : it->second;
    }
    std::string longPath(const std::string& path) override {
        for (const auto& [longForm, shortForm] : shortForms)
            if (shortForm == path) return longForm;
        return path;
    }
    bool exists(const std::string& path) override { return existing.count(path) > 0; }
};

const std::string kFolder = "C:\\Pictures\\";
const std::string kKey = "RecentFiles";

std::string picture(int i) {
    return kFolder + "picture" + std::to_string(i) + ".bmp";
}

TEST(FileList, ElevenPicturesLeaveTheLastTenNewestFirst) {
    FakePathNames paths;
    FileList list(paths);
    for (int i = 1; i <= 11; ++i) {
        paths.existing.insert(picture(i));
        EXPECT_TRUE(list.add(picture(i)));
    }
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list.entry(0), picture(2));
    EXPECT_EQ(list.entry(9), picture(11));
    EXPECT_FALSE(list.entry(10));
    const auto items = list.menuItems();
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items.front(), (RecentMenuItem{3409, "picture11.bmp"}));
    EXPECT_EQ(items.back(), (RecentMenuItem{3400, "picture2.bmp"}));
    for (const RecentMenuItem& item : items)
        EXPECT_NE(item.text, "picture1.bmp");
    // Each item's command leads back to the entry it shows.
    for (const RecentMenuItem& item : items)
        EXPECT_EQ(kFolder + item.text, list.entryForCommand(item.command));
}

TEST(FileList, AListedFileKeepsItsPlace) {
    FakePathNames paths;
    FileList list(paths);
    for (int i = 1; i <= 3; ++i)
        list.add(picture(i));
    EXPECT_FALSE(list.add(picture(1)));
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.entry(0), picture(1));
    EXPECT_EQ(list.entry(2), picture(3));
}

TEST(FileList, LongAndShortSpellingsGiveOneEntry) {
    FakePathNames paths;
    const std::string longPath =
        paths.file("C:\\My Pictures\\", "A very long name.bmp", "AVERYL~1.BMP");
    FileList list(paths);
    EXPECT_TRUE(list.add(longPath));
    EXPECT_FALSE(list.add("C:\\My Pictures\\AVERYL~1.BMP"));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.entry(0), "C:\\My Pictures\\AVERYL~1.BMP");
    // The menu shows the long name; the stored path is the short one.
    EXPECT_EQ(list.menuItems(), (std::vector<RecentMenuItem>{{3400, "A very long name.bmp"}}));
    EXPECT_EQ(list.entryForCommand(3400), "C:\\My Pictures\\AVERYL~1.BMP");
}

TEST(FileList, NonAsciiNamesAreShownWhole) {
    FakePathNames paths;
    const std::string name = "Gr\xC3\xBCne Wiese \xE6\x9C\xA8.bmp";
    const std::string full = paths.file("D:\\Bilder\\", name, "GRNEWI~1.BMP");
    FileList list(paths);
    list.add(full);
    EXPECT_EQ(list.menuItems().at(0).text, name);
}

TEST(FileList, MenuStateAndCommands) {
    FakePathNames paths;
    FileList list(paths);
    EXPECT_FALSE(list.menuEnabled());
    EXPECT_TRUE(list.menuItems().empty());
    EXPECT_FALSE(list.entryForCommand(3400));
    list.add(picture(1));
    EXPECT_TRUE(list.menuEnabled());
    EXPECT_EQ(list.entryForCommand(3400), picture(1));
    EXPECT_FALSE(list.entryForCommand(3401));
    EXPECT_FALSE(list.entryForCommand(3399));
    EXPECT_FALSE(list.entryForCommand(3411));
    EXPECT_EQ(FileList::kMenuCaption, "Recent &Files");
}

TEST(FileList, SaveWritesIndicesAndRemovesTheRest) {
    FakePathNames paths;
    MemoryValueStore store;
    for (int i = 0; i < 10; ++i)
        store.put(kKey, textValue(std::to_string(i), "C:\\old" + std::to_string(i) + ".bmp"));
    FileList list(paths);
    for (int i = 1; i <= 4; ++i)
        list.add(picture(i));
    list.save(store);
    EXPECT_EQ(store.names(kKey), (std::vector<std::string>{"0", "1", "2", "3"}));
    for (int i = 0; i < 4; ++i) {
        const StoredValue* v = store.find(kKey, std::to_string(i));
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->type, StoredType::String);
        EXPECT_EQ(textFrom(*v), picture(i + 1));
    }
}

TEST(FileList, LoadTakesExistingStringEntriesInStoreOrder) {
    FakePathNames paths;
    for (int i = 1; i <= 5; ++i)
        paths.existing.insert(picture(i));
    MemoryValueStore store;
    store.put(kKey, textValue("0", picture(1)));
    store.put(kKey, textValue("1", picture(2)));
    store.put(kKey, textValue("2", "C:\\gone.bmp"));  // vanished since the last run
    store.put(kKey, textValue("3", "C:\\"));          // three characters: ignored
    store.put(kKey, dwordValue("4", 12345));
    store.put(kKey, StoredValue{"5", StoredType::Binary, {'C', ':', '\\', 'x', '.', 'b'}});
    store.put(kKey, StoredValue{"6", StoredType::MultiString, {}});
    const std::string third = picture(3);
    std::vector<std::uint8_t> multi(third.begin(), third.end());
    multi.insert(multi.end(), {0, 'x', 0, 0});
    store.put(kKey, StoredValue{"7", StoredType::MultiString, multi});
    store.put(kKey, textValue("8", picture(1)));  // a duplicate
    FileList list(paths);
    list.add(picture(5));
    list.load(store);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.entry(0), picture(1));
    EXPECT_EQ(list.entry(1), picture(2));
    EXPECT_EQ(list.entry(2), picture(3));
}

TEST(FileList, LoadConvertsToShortForms) {
    FakePathNames paths;
    const std::string longPath = paths.file("C:\\Long Folder\\", "Long name.bmp", "LONGNA~1.BMP");
    MemoryValueStore store;
    store.put(kKey, textValue("0", longPath));
    FileList list(paths);
    list.load(store);
    EXPECT_EQ(list.entry(0), "C:\\Long Folder\\LONGNA~1.BMP");
}

TEST(FileList, AnEmptyStoreKeepsTheList) {
    FakePathNames paths;
    MemoryValueStore store;
    FileList list(paths);
    list.add(picture(1));
    list.load(store);
    EXPECT_EQ(list.size(), 1u);
}

TEST(FileList, StoreFailuresEndSilently) {
    FakePathNames paths;
    paths.existing.insert(picture(1));
    MemoryValueStore store;
    store.put(kKey, textValue("0", picture(1)));
    store.failingKeys = {kKey};
    FileList list(paths);
    list.add(picture(7));
    EXPECT_NO_THROW(list.load(store));
    EXPECT_EQ(list.entry(0), picture(7));
    EXPECT_NO_THROW(list.save(store));

    MemoryValueStore partial;
    partial.failingWrites = {"1"};
    list.add(picture(8));
    list.add(picture(9));
    list.save(partial);
    EXPECT_EQ(partial.names(kKey), std::vector<std::string>{"0"});
}

TEST(FileList, SaveAndLoadRoundTrip) {
    FakePathNames paths;
    for (int i = 1; i <= 10; ++i)
        paths.existing.insert(picture(i));
    FileList list(paths);
    for (int i = 1; i <= 10; ++i)
        list.add(picture(i));
    MemoryValueStore store;
    list.save(store);
    FileList again(paths);
    again.load(store);
    ASSERT_EQ(again.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_EQ(again.entry(i), list.entry(i));
}

}  // namespace
}  // namespace lumetra
