// The image browser: which folders of a real folder tree become tabs, which files of a tab get a
// thumbnail; its filter captions and working-copy paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "base/file_io.h"
#include "base/standard_file_system.h"
#include "browser/browser_texts.h"
#include "browser/folder_scan.h"
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
        const char* tabbed;
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

TEST(BrowserTexts, FilterCaptionsAndFolderTexts) {
    EXPECT_EQ(filterCaption(FilterCaptionForm::Long, 100, 5, 0),
              "Filter (R: 100%, G:   5%, B:   0%)");
    EXPECT_EQ(filterCaption(FilterCaptionForm::Short, 100, 5, 0), "Filter (R 100, G 5, B 0%)");
    // The long form holds while it stays narrower than the group less 20 pixels.
    EXPECT_EQ(std::pair(filterCaptionForm(179, 200), filterCaptionForm(180, 200)),
              std::pair(FilterCaptionForm::Long, FilterCaptionForm::Short));
    EXPECT_EQ(noImagesInFolderText("C:/f"), "C:/f\nThis folder does not contain any images!");
    // A working copy's path ends in "_copy.bmp" once.
    const std::pair<const char*, const char*> copies[] = {
        {"C:/f/wave.bmp", "C:/f/wave.bmp_copy.bmp"},
        {"C:/f/X_COPY.BMP", "C:/f/X_COPY.BMP"},
        {"C:/f/copy.bmp", "C:/f/copy.bmp_copy.bmp"}};
    for (const auto& [file, copy] : copies)
        EXPECT_EQ(utf8FromPath(workingCopyPath(file)), copy) << file;
    EXPECT_EQ(utf8FromPath(addFolderStart(std::filesystem::path("C:/a/bc/d/"), "F")), "C:/a/bc/");
}

}  // namespace
}  // namespace lumetra
