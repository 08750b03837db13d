#include "browser/win/browser_window.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "browser/folder_scan.h"
#include "browser/win/list_box.h"
#include "resources/resource_ids.h"

// The browser's tabs: one per folder, each with its own list of names whose thumbnails arrive
// from the helper thread.

namespace lumetra::win {
namespace {

// Where a new list is made before the layout fits it.
constexpr RECT kNewListBox{6, 8, 106, 108};

}  // namespace

BrowserWindow::Tab* BrowserWindow::currentTab() const {
    for (const auto& tab : tabs_)
        if (tab->list.get() == currentList_ && currentList_) return tab.get();
    return nullptr;
}

std::optional<std::filesystem::path> BrowserWindow::selectedFile() const {
    const Tab* tab = currentTab();
    if (!tab) return std::nullopt;
    const LRESULT index = SendMessageW(tab->list.get(), LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return std::nullopt;
    return std::filesystem::path(tab->folder.native() + listText(tab->list.get(), int(index)));
}

int BrowserWindow::scan(const std::filesystem::path& folder, int depth) {
    std::vector<std::filesystem::path> known;
    for (const auto& tab : tabs_)
        known.push_back(tab->folder);
    const ScanResult result = scanFolder(files_, folder, "bmp", depth, known);
    for (const std::filesystem::path& tab : result.newTabs)
        addTab(tab);
    return result.count;
}

void BrowserWindow::rescanRoot() {
    scan(host_.filterFolder(), 1);
    // The user has now chosen the root: a later Add Folder does not take its place.
    rootUnset_ = false;
    layOut();
}

void BrowserWindow::addTab(const std::filesystem::path& folder) {
    auto tab = std::make_unique<Tab>();
    tab->id = nextTabId_++;
    tab->folder = folder;
    const DWORD style = WS_CHILD | WS_TABSTOP | WS_HSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                        LBS_SORT | LBS_MULTICOLUMN | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    tab->list = UniqueWindow(CreateWindowExW(
        WS_EX_CLIENTEDGE, L"LISTBOX", L"", style, kNewListBox.left, kNewListBox.top,
        kNewListBox.right - kNewListBox.left, kNewListBox.bottom - kNewListBox.top, dialog_,
        reinterpret_cast<HMENU>(INT_PTR(IDC_BROWSER_LIST)), GetModuleHandleW(nullptr), nullptr));
    if (!tab->list) return;
    SendMessageW(tab->list.get(), LB_SETCOLUMNWIDTH, kCellWidth, 0);
    SendMessageW(tab->list.get(), LB_SETITEMHEIGHT, 0, kCellHeight);
    tips_.addList(tab->list.get());
    SetWindowPos(tab->list.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (currentList_) ShowWindow(currentList_, SW_HIDE);
    currentList_ = tab->list.get();
    tabs_.push_back(std::move(tab));
    layOut();
    const std::wstring title = tabTitle(folder).wstring();
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(title.c_str());
    const int index = int(SendMessageW(tabControl_, TCM_INSERTITEMW, WPARAM(tabs_.size() - 1),
                                       reinterpret_cast<LPARAM>(&item)));
    SendMessageW(tabControl_, TCM_SETCURSEL, WPARAM(index), 0);
    if (!fillTab(*tabs_.back())) return;
    ShowWindow(currentList_, SW_SHOW);
}

bool BrowserWindow::fillTab(Tab& tab) {
    const auto entries = files_.listFolder(tab.folder);
    if (!entries) {
        // The folder has gone: so does its tab.
        const auto it = std::find_if(tabs_.begin(), tabs_.end(),
                                     [&](const auto& t) { return t.get() == &tab; });
        if (it != tabs_.end()) removeTab(std::size_t(it - tabs_.begin()));
        return false;
    }
    const std::vector<std::filesystem::path> names = thumbnailNames(*entries);
    HWND list = tab.list.get();
    maker_->forget(tab.id);
    ++tab.generation;
    tab.imageCount = 0;
    tab.thumbnails.assign(names.size(), std::nullopt);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    std::vector<ThumbnailJob> jobs;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const LRESULT index = SendMessageW(list, LB_ADDSTRING, 0,
                                           reinterpret_cast<LPARAM>(names[i].wstring().c_str()));
        if (index < 0) continue;
        SendMessageW(list, LB_SETITEMDATA, WPARAM(index), LPARAM(i));
        jobs.push_back(ThumbnailJob{tab.id, tab.generation, i, tab.folder / names[i]});
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    maker_->add(std::move(jobs));
    return true;
}

void BrowserWindow::removeTab(std::size_t index) {
    const bool wasCurrent = tabs_[index]->list.get() == currentList_;
    maker_->forget(tabs_[index]->id);
    SendMessageW(tabControl_, TCM_DELETEITEM, WPARAM(index), 0);
    tabs_.erase(tabs_.begin() + std::ptrdiff_t(index));
    if (!wasCurrent) return;
    currentList_ = nullptr;
    if (!tabs_.empty()) selectTab(0);
}

void BrowserWindow::selectTab(int index) {
    SendMessageW(tabControl_, TCM_SETCURSEL, WPARAM(index), 0);
    showTab(index);
}

void BrowserWindow::showTab(int index) {
    if (index < 0 || std::size_t(index) >= tabs_.size()) return;
    if (currentList_) ShowWindow(currentList_, SW_HIDE);
    currentList_ = tabs_[std::size_t(index)]->list.get();
    layOut();
    ShowWindow(currentList_, SW_SHOW);
}

void BrowserWindow::takeThumbnails() {
    if (!maker_) return;
    for (FinishedThumbnail& done : maker_->takeFinished()) {
        const auto tab = std::find_if(tabs_.begin(), tabs_.end(),
                                      [&](const auto& t) { return t->id == done.job.tab; });
        if (tab == tabs_.end() || (*tab)->generation != done.job.generation) continue;
        HWND list = (*tab)->list.get();
        const int index = listIndexOf(list, done.job.file.filename().wstring(), done.job.item);
        if (index < 0) continue;
        if (!done.thumbnail) {
            SendMessageW(list, LB_DELETESTRING, WPARAM(index), 0);
            continue;
        }
        (*tab)->thumbnails[done.job.item] = std::move(done.thumbnail);
        ++(*tab)->imageCount;
        RECT cell{};
        if (SendMessageW(list, LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&cell)) !=
            LB_ERR)
            InvalidateRect(list, &cell, FALSE);
    }
}

void BrowserWindow::finishThumbnails() {
    if (!maker_) return;
    maker_->waitUntilIdle();
    takeThumbnails();
}

}  // namespace lumetra::win
