// The Image Browser window over real folders: tabs from the filter root, owner-drawn thumbnails
// (flipped as the check boxes say, the selection in pure blue), Refresh and Add Folder. (The
// layout after a resize: browser_texts_test.) (Selecting, double clicks and a new tab: end to end.)

#include "browser/win/browser_window.h"

#include <fstream>

#include "browser/folder_scan.h"
#include "browser/thumbnail.h"
#include "recording_ui.h"
#include "thumbnail_reference.h"
#include "win_test.h"

namespace lumetra::win {
namespace {

class FakeHost final : public BrowserHost {
  public:
    void filterWithFile(const fs::path&) override {}
    void openWorkingCopy(const fs::path&) override {}
    std::optional<fs::path> chooseFolder(const fs::path& start, const std::string&) override {
        starts.push_back(start);
        return chosen;
    }
    fs::path filterFolder() override { return root; }
    void setFilterFolder(const fs::path& folder) override { root = folder; }
    fs::path root;
    std::optional<fs::path> chosen;
    std::vector<fs::path> starts;
};

class BrowserWindowTest : public ::testing::Test {
  public:
    void SetUp() override {
        initCommonControls();
        fs::remove_all(base_);
        put("root/set/b.bmp", testing::bmpFileOf(pictureB_));
        put("root/set/a.bmp", testing::bmpFileOf(testing::noisePicture(90, 40, 2)));
        put("root/set/broken.bmp", {'B', 'M', 1, 2, 3});
        put("root/other/c.bmp", testing::bmpFileOf(testing::noisePicture(8, 8, 3)));
        host_.root = base_ / "root";
    }
    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
        fs::remove_all(base_);
    }
    void put(const char* name, const std::vector<std::uint8_t>& bytes) {
        fs::create_directories((base_ / name).parent_path());
        std::ofstream(base_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    void open() {
        dialog_ = window_.create(module(), nullptr, IDD_IMAGE_BROWSER);
        ASSERT_NE(dialog_, nullptr);
        window_.finishThumbnails();
    }
    HWND list() { return window_.currentList(); }
    int listCount() { return int(SendMessageW(list(), LB_GETCOUNT, 0, 0)); }
    // Shows the tab whose title is `title`, as a click on it does.
    void showTab(const wchar_t* title) {
        HWND tabs = GetDlgItem(dialog_, IDC_BROWSER_TABS);
        for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
            wchar_t text[64]{};
            TCITEMW item{TCIF_TEXT, 0, 0, text, 64, 0, 0};
            TabCtrl_GetItem(tabs, i, &item);
            if (std::wstring(text) != title) continue;
            TabCtrl_SetCurSel(tabs, i);
            NMHDR header{tabs, UINT_PTR(IDC_BROWSER_TABS), UINT(TCN_SELCHANGE)};
            SendMessageW(dialog_, WM_NOTIFY, IDC_BROWSER_TABS, reinterpret_cast<LPARAM>(&header));
        }
    }
    PixelImage drawn(int index, bool selected) {
        DibSurface cell(68, 54);
        const UINT state = selected ? ODS_SELECTED : 0;
        const auto data = ULONG_PTR(SendMessageW(list(), LB_GETITEMDATA, index, 0));
        DRAWITEMSTRUCT item{ODT_LISTBOX, IDC_BROWSER_LIST, UINT(index), ODA_DRAWENTIRE,
                            state,       list(),           cell.dc(),   {0, 0, 68, 54},
                            data};
        SendMessageW(dialog_, WM_DRAWITEM, IDC_BROWSER_LIST, reinterpret_cast<LPARAM>(&item));
        return cell.pixels();
    }
    fs::path base_ = fs::temp_directory_path() / "lumetra_browser_test";
    PixelImage pictureB_ = testing::noisePicture(300, 200, 1);
    WinFileSystem files_;
    testing::RecordingUi ui_;
    FakeHost host_;
    HWND active_ = nullptr;
    BrowserWindow window_{ToolPlacement{}, active_, files_, ui_, host_};
    HWND dialog_ = nullptr;
};

// (Each flip of a thumbnail: thumbnail_test.) Refresh drops the tab of a folder that has gone.
TEST_F(BrowserWindowTest, DrawsThumbnailsFlippedAsCheckedAndTheSelectionInPureBlue) {
    open();
    EXPECT_EQ(window_.tabCount(), 2);
    showTab(L"set");
    ASSERT_EQ(listCount(), 2) << "the broken file is left out";
    const PixelImage thumbnail = *testing::referenceThumbnail(testing::bmpFileOf(pictureB_));
    CheckDlgButton(dialog_, IDC_BROWSER_FLIP_LR, BST_CHECKED);
    const PixelImage cell = drawn(1, true), shown = flippedThumbnail(thumbnail, true, false);
    for (std::int32_t y = 0; y < 54; ++y)
        for (std::int32_t x = 0; x < 68; ++x)
            ASSERT_EQ(pixelAt(cell, x, y), x >= 2 && x < 66 && y >= 2 && y < 52
                                               ? pixelAt(shown, x - 2, y - 2)
                                               : (Rgb{0, 0, 255}))
                << x << "," << y;
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(pixelAt(drawn(0, false), 0, 0),
              (Rgb{GetRValue(window), GetGValue(window), GetBValue(window)}));
    showTab(L"other");
    fs::remove_all(base_ / "root/other");
    click(dialog_, IDC_BROWSER_REFRESH);
    EXPECT_EQ(window_.tabCount(), 1);
    ASSERT_NE(list(), nullptr);
    EXPECT_EQ(listCount(), 2) << "the remaining tab is shown";
}

TEST_F(BrowserWindowTest, StartsWithAWarningAndAddFolderStartsFromTheCurrentFolder) {
    host_.root = base_ / "empty";
    fs::create_directories(host_.root);
    open();
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].caption, "Image Browser Warning");
    EXPECT_EQ(window_.selectedFile(), std::nullopt);
    host_.chosen = base_ / "nothing";  // no images there, and No to its subfolders
    fs::create_directories(*host_.chosen);
    ui_.answers = {false};
    click(dialog_, IDC_BROWSER_ADD_FOLDER);
    ASSERT_EQ(ui_.boxes.size(), 3u);
    EXPECT_EQ(ui_.boxes[2].caption, "Image Browser warning!");
    host_.chosen = base_ / "root";
    ui_.answers = {true};
    click(dialog_, IDC_BROWSER_ADD_FOLDER);
    EXPECT_EQ(window_.tabCount(), 2);
    click(dialog_, IDC_BROWSER_ADD_FOLDER);  // from the parent of the current tab's folder
    EXPECT_EQ(host_.starts.back().native(), withTrailingSeparator(base_ / "root").native());
}

}  // namespace
}  // namespace lumetra::win
