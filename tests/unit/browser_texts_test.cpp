// The image browser's filter captions, working-copy paths, Add Folder's start and the layout
// arithmetic.

#include "browser/browser_texts.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "browser/browser_layout.h"

namespace lumetra {
namespace {

TEST(BrowserTexts, FilterCaptionsAndFolderTexts) {
    EXPECT_EQ(filterCaption(FilterCaptionForm::Long, 100, 5, 0),
              "Filter (R: 100%, G:   5%, B:   0%)");
    EXPECT_EQ(filterCaption(FilterCaptionForm::Short, 100, 5, 0), "Filter (R 100, G 5, B 0%)");
    // The long form holds while it stays narrower than the group less 20 pixels.
    EXPECT_EQ(filterCaptionForm(179, 200), FilterCaptionForm::Long);
    EXPECT_EQ(filterCaptionForm(180, 200), FilterCaptionForm::Short);
    EXPECT_EQ(noImagesInFolderText("C:/f"), "C:/f\nThis folder does not contain any images!");
    // A working copy's path ends in "_copy.bmp" once.
    const std::pair<const char*, const char*> copies[] = {
        {"C:/f/wave.bmp", "C:/f/wave.bmp_copy.bmp"}, {"C:/f/x_copy.bmp", "C:/f/x_copy.bmp"},
        {"C:/f/X_COPY.BMP", "C:/f/X_COPY.BMP"},      {"C:/f/a.gif", "C:/f/a.gif_copy.bmp"},
        {"C:/f/copy.bmp", "C:/f/copy.bmp_copy.bmp"},
    };
    for (const auto& [file, copy] : copies)
        EXPECT_EQ(utf8FromPath(workingCopyPath(file)), copy) << file;
    // Add Folder starts at the parent of the current tab; five characters or fewer keep their
    // separator: the folder itself.
    const std::pair<const char*, const char*> starts[] = {
        {"C:/a/b/", "C:/a/"}, {"C:/a/bc/d/", "C:/a/bc/"}, {"C:/a/", "C:/a/"}};
    for (const auto& [tab, start] : starts)
        EXPECT_EQ(utf8FromPath(addFolderStart(std::filesystem::path(tab), "F")), start) << tab;
    EXPECT_EQ(utf8FromPath(addFolderStart(std::nullopt, "C:/Filters")), "C:/Filters");
}

TEST(BrowserLayout, FarSidesFollowTheClientEdges) {
    const ControlBox box{10, 20, 100, 50};
    const struct {
        LayoutRule rule;
        ControlBox placed;  // after the client grows from 300 x 200 to 340 x 260
    } cases[] = {
        {{1, Anchor::Near, Anchor::Near, Anchor::Near, Anchor::Near}, {10, 20, 100, 50}},
        {{1, Anchor::Near, Anchor::Near, Anchor::Far, Anchor::Far}, {10, 20, 140, 110}},
        {{1, Anchor::Far, Anchor::Far, Anchor::Near, Anchor::Near}, {50, 80, 100, 50}},
        {{1, Anchor::Near, Anchor::Far, Anchor::Far, Anchor::Near}, {10, 80, 140, 50}},
    };
    for (const auto& c : cases) {
        const HeldBox held = holdBox(c.rule, box, 300, 200);
        EXPECT_EQ(placeBox(held, 300, 200), box);
        EXPECT_EQ(placeBox(held, 340, 260), c.placed);
    }
}

TEST(BrowserLayout, SlidersShareTheFilterGroup) {
    SliderRow row;
    row.labels.fill(ControlBox{12, 230, 8, 13});
    row.sliders.fill(ControlBox{0, 226, 60, 22});
    // (300 - 6 - 55) / 3 = 79 wide; each slider begins 1 pixel after its label.
    const SliderRow placed = layOutSliderRow(ControlBox{6, 210, 300, 48}, row);
    for (std::size_t i = 0; i < 3; ++i) {
        const int x = 12 + 92 * int(i);
        EXPECT_EQ(placed.labels[i], (ControlBox{x, 230, 8, 13})) << i;
        EXPECT_EQ(placed.sliders[i], (ControlBox{x + 9, 226, 79, 22})) << i;
    }
}

}  // namespace
}  // namespace lumetra
