#pragma once
// The "Image Browser" window: one tab per folder, each with its own owner-drawn list of 64 x 50
// thumbnails sorted by name, the filter strengths and flips under them, Add Folder and Refresh.
// Names appear as soon as a folder is scanned; the thumbnails are made on the browser's helper
// thread and drawn as they arrive. A double click applies a picture as a filter, or with Shift
// opens a working copy of it: both through the program, which the window reaches through
// BrowserHost.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/user_interface.h"
#include "base/win/tool_window.h"
#include "base/win/unique_handle.h"
#include "base/win/win_file_system.h"
#include "browser/browser_layout.h"
#include "browser/thumbnail_maker.h"
#include "browser/win/thumbnail_tips.h"

namespace lumetra::win {

// What the browser asks of the program around it.
class BrowserHost {
  public:
    virtual ~BrowserHost() = default;
    // A double click: the picture as a filter over the operation region, as one undo step.
    virtual void filterWithFile(const std::filesystem::path& file) = 0;
    // A Shift double click: the picture opened as a working copy.
    virtual void openWorkingCopy(const std::filesystem::path& file) = 0;
    // The folder browser, with the tool windows disabled while it is up; nothing on Cancel.
    virtual std::optional<std::filesystem::path> chooseFolder(const std::filesystem::path& start,
                                                              const std::string& title) = 0;
    // The filter folder: the browser's root.
    virtual std::filesystem::path filterFolder() = 0;
    virtual void setFilterFolder(const std::filesystem::path& folder) = 0;
};

// The strengths and flips the browser offers the filters and overlays.
struct BrowserSettings {
    bool mirrorLeftRight = false;
    bool turnUpsideDown = false;
    int red = 100, green = 100, blue = 100;
};

class BrowserWindow : public ToolWindow {
  public:
    BrowserWindow(ToolPlacement placement, HWND& activeToolWindow, FileSystem& files,
                  UserInterface& ui, BrowserHost& host);
    ~BrowserWindow() override;

    std::wstring_view helpKeyword() const override { return L"Image Browser"; }

    // The current tab's folder followed by the selected file's name; nothing without a selection.
    std::optional<std::filesystem::path> selectedFile() const;
    BrowserSettings settings() const;

    // Scans a folder for "bmp" files (see scanFolder) and makes a tab of every folder found that
    // has none yet; the last one made is selected. Returns the count of files found.
    int scan(const std::filesystem::path& folder, int depth);
    // The filter folder was set anew: its subfolders are scanned and the window laid out again.
    void rescanRoot();
    void layOut();
    // Rolling up also takes the sizing frame away (and unrolling gives it back).
    void roll() override;

    int tabCount() const { return int(tabs_.size()); }
    HWND currentList() const { return currentList_; }
    // Waits for the helper thread and takes in every thumbnail made so far.
    void finishThumbnails();

  protected:
    INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    struct Tab {
        std::uint64_t id = 0;
        std::filesystem::path folder;  // ends in a separator
        UniqueWindow list;
        std::uint64_t generation = 0;
        std::vector<std::optional<PixelImage>> thumbnails;  // by item, as they arrive
        int imageCount = 0;
    };

    void initialise(HWND dialog);
    void measureLayout(HWND dialog);
    void command(int control, int code);
    void notify(const NMHDR& header);
    void drawItem(const DRAWITEMSTRUCT& item);
    void sized();
    void minimumSize(MINMAXINFO& info) const;
    void showFilterCaption();
    void chooseCaptionForm();
    void addFolder();
    void refresh();
    void doubleClicked();
    void takeThumbnails();

    Tab* currentTab() const;
    void addTab(const std::filesystem::path& folder);
    bool fillTab(Tab& tab);
    void removeTab(std::size_t index);
    void selectTab(int index);
    void showTab(int index);

    FileSystem& files_;
    UserInterface& ui_;
    BrowserHost& host_;
    HWND dialog_ = nullptr;
    HWND tabControl_ = nullptr;
    HWND currentList_ = nullptr;
    std::vector<std::unique_ptr<Tab>> tabs_;  // in the tab control's order
    std::uint64_t nextTabId_ = 1;
    std::vector<HeldBox> layout_;
    SIZE createdSize_{};
    bool rolledUp_ = false;
    bool rootUnset_ = false;
    bool shortCaption_ = false;
    WinFileSystem workerFiles_;  // the helper thread's own
    std::unique_ptr<ThumbnailMaker> maker_;
    ThumbnailTips tips_;
};

}  // namespace lumetra::win
