// Which folders of a real folder tree become image browser tabs, and which files of a tab get a
// thumbnail (long and short names).

#include "browser/folder_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "base/file_io.h"
#include "base/standard_file_system.h"
#include "memory_file_system.h"

namespace lumetra {
namespace {

class FolderScan : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::remove_all(root);
        for (const char* file : {"two/own.bmp", "two/a/one.bmp", "two/b/TWO.BMP", "two/.dot/h.bmp",
                                 "two/gifs/x.gif", "two/gifs/y.gif", "x/shotxbmp"}) {
            std::filesystem::create_directories((root / file).parent_path());
            std::ofstream(root / file) << "BM";
        }
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    std::filesystem::path root = std::filesystem::current_path() / "folder_scan_tree";
    StandardFileSystem files;
};

TEST_F(FolderScan, CountsBmpFilesAndMakesTabsOfTheFoldersAtDepthZero) {
    const struct {
        const char* folder;
        int depth;
        const char* tabbed;  // a subfolder of "two" that already has a tab, or null
        int count;
        std::vector<std::string> newTabs;
    } cases[] = {
        // The root's own file counts but gives no tab; ".dot" is never looked into.
        {"two", 1, nullptr, 3, {"a", "b"}},
        {"two", 0, nullptr, 1, {"two"}},
        {"two/gifs", 0, nullptr, 0, {}},
        {"x", 0, nullptr, 1, {"x"}},  // "shotxbmp" ends in "bmp": no dot needed
        {"two", 1, "a", 3, {"b"}},
        {"two/a", 1, nullptr, 1, {}},  // images only in the folder itself: counted, no tab
        {"missing", 1, nullptr, 0, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::filesystem::path> tabs;
        if (c.tabbed) tabs.push_back(withTrailingSeparator(root / "two" / c.tabbed));
        const ScanResult result = scanFolder(files, root / c.folder, "bmp", c.depth, tabs);
        SCOPED_TRACE(std::string(c.folder) + " depth " + std::to_string(c.depth));
        EXPECT_EQ(result.count, c.count);
        std::vector<std::string> titles;
        for (const auto& tab : result.newTabs) {
            titles.push_back(utf8FromPath(tabTitle(tab)));
            EXPECT_EQ(tab.native().back(), std::filesystem::path::preferred_separator);
        }
        std::sort(titles.begin(), titles.end());  // the system lists in its own order
        EXPECT_EQ(titles, c.newTabs);
    }
    EXPECT_EQ(scanFolder(files, "", "bmp", 1, {}).count, 0);
    // Only the part after the last dot of the extension counts.
    EXPECT_EQ(scanFolder(files, root / "two/gifs", "picture.gif", 0, {}).count, 2);
}

TEST(ThumbnailNames, TakeCapitalExtensionsOfTheLongOrTheShortName) {
    testing::MemoryFileSystem files;
    files.addFolder("/f");
    for (const char* name : {"photograph.bmp", "lower case.bmp", "UPPER.BMP", "x.gif", "Y.ICO",
                             "z.Bmp", "a.JPG", "b.EMF", "c.WMF", "d.PNG", "e.bmpx", "f.g.bmp"})
        files.put(std::filesystem::path("/f") / name, "");
    files.addFolder("/f/DIR.BMP");
    // A long name shows through its short name; one that is a short name shows itself.
    files.shortForms.emplace_back("/f/photograph.bmp", "/f/PHOTOG~1.BMP");
    const auto entries = files.listFolder("/f");
    ASSERT_TRUE(entries);
    std::vector<std::string> names;
    for (const auto& name : thumbnailNames(*entries))
        names.push_back(utf8FromPath(name));
    EXPECT_EQ(names, (std::vector<std::string>{"UPPER.BMP", "Y.ICO", "a.JPG", "b.EMF", "c.WMF",
                                               "photograph.bmp", "x.gif", "z.Bmp"}));
}

}  // namespace
}  // namespace lumetra
