#include "browser/win/browser_window.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <utility>

#include "base/win/text.h"
#include "base/win/utf16.h"
#include "browser/browser_texts.h"
#include "browser/folder_scan.h"
#include "browser/thumbnail.h"
#include "browser/thumbnail_file.h"
#include "image/win/dib_paint.h"
#include "image/win/picture_loader.h"
#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

// Posted by the helper thread when thumbnails wait to be taken in.
constexpr UINT kThumbnailsMade = WM_APP + 61;
constexpr int kCellWidth = 68;
constexpr int kCellHeight = 54;
constexpr int kSliderIds[3] = {IDC_BROWSER_RED, IDC_BROWSER_GREEN, IDC_BROWSER_BLUE};
constexpr int kLabelIds[3] = {IDC_BROWSER_RED_LABEL, IDC_BROWSER_GREEN_LABEL,
                              IDC_BROWSER_BLUE_LABEL};
// Where a new list is made before the layout fits it.
constexpr RECT kNewListBox{6, 8, 106, 108};

// The platform's loader on the helper thread, which needs COM of its own for it.
std::optional<PixelImage> decodeOnHelperThread(const std::filesystem::path& file) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring failure;
    std::optional<PixelImage> picture = loadPictureFile(file, failure);
    if (SUCCEEDED(com)) CoUninitialize();
    return picture;
}

ControlBox boxOf(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return ControlBox{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void place(HWND control, const ControlBox& box) {
    MoveWindow(control, box.x, box.y, box.width, box.height, TRUE);
}

SIZE clientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

int windowHeight(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

std::wstring listText(HWND list, int index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(index), 0);
    if (length == LB_ERR) return {};
    std::wstring text(std::size_t(length) + 1, L'\0');
    const LRESULT got =
        SendMessageW(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : std::size_t(got));
    return text;
}

// The list index of an item, found by its name and checked by its data.
int listIndexOf(HWND list, const std::wstring& name, std::size_t item) {
    const LRESULT found =
        SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(name.c_str()));
    if (found != LB_ERR &&
        std::size_t(SendMessageW(list, LB_GETITEMDATA, WPARAM(found), 0)) == item)
        return int(found);
    const int count = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (std::size_t(SendMessageW(list, LB_GETITEMDATA, WPARAM(i), 0)) == item) return i;
    return -1;
}

class WaitCursor {
  public:
    WaitCursor() : before_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(before_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR before_;
};

}  // namespace

BrowserWindow::BrowserWindow(ToolPlacement placement, HWND& activeToolWindow, FileSystem& files,
                             UserInterface& ui, BrowserHost& host)
    : ToolWindow(placement, activeToolWindow), files_(files), ui_(ui), host_(host) {}

BrowserWindow::~BrowserWindow() {
    // The helper thread reads through workerFiles_: it ends first.
    maker_.reset();
}

INT_PTR BrowserWindow::handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            initialise(dialog);
            return TRUE;
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (item->CtlID != IDC_BROWSER_LIST) return FALSE;
            item->itemWidth = kCellWidth;
            item->itemHeight = kCellHeight;
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID != IDC_BROWSER_LIST) return FALSE;
            drawItem(*item);
            return TRUE;
        }
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam));
            return LOWORD(wParam) == IDCANCEL ? FALSE : TRUE;
        case WM_NOTIFY:
            notify(*reinterpret_cast<const NMHDR*>(lParam));
            return FALSE;
        case WM_HSCROLL:
            showFilterCaption();
            return TRUE;
        case WM_SIZE:
            sized();
            return TRUE;
        case WM_GETMINMAXINFO:
            minimumSize(*reinterpret_cast<MINMAXINFO*>(lParam));
            return TRUE;
        case kThumbnailsMade:
            takeThumbnails();
            return TRUE;
        case WM_DESTROY:
            if (maker_) maker_->stop();
            tabs_.clear();
            currentList_ = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

void BrowserWindow::initialise(HWND dialog) {
    dialog_ = dialog;
    tabControl_ = GetDlgItem(dialog, IDC_BROWSER_TABS);
    RECT r{};
    GetWindowRect(dialog, &r);
    createdSize_ = SIZE{r.right - r.left, r.bottom - r.top};
    setItemBold(IDC_BROWSER_FILTER_GROUP);
    setItemBold(IDC_BROWSER_FLIP_GROUP);
    measureLayout(dialog);
    for (int id : kSliderIds) {
        SendDlgItemMessageW(dialog, id, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
        SendDlgItemMessageW(dialog, id, TBM_SETPAGESIZE, 0, 20);
        SendDlgItemMessageW(dialog, id, TBM_SETPOS, TRUE, 100);
    }
    // Each tab makes its own list; the one of the resource only gave the layout its place.
    DestroyWindow(GetDlgItem(dialog, IDC_BROWSER_LIST));
    maker_ = std::make_unique<ThumbnailMaker>(
        [this](const std::filesystem::path& file) {
            return thumbnailOfFile(workerFiles_, file, &decodeOnHelperThread);
        },
        [dialog] { PostMessageW(dialog, kThumbnailsMade, 0, 0); });

    scan(host_.filterFolder(), 1);
    if (tabs_.empty()) {
        ui_.showWarning(kNoImagesAtStartText, kNoImagesAtStartCaption);
        rootUnset_ = true;
    } else {
        selectTab(0);
    }
    chooseCaptionForm();
    showFilterCaption();
}

void BrowserWindow::measureLayout(HWND dialog) {
    const SIZE client = clientSize(dialog);
    layout_.clear();
    for (const LayoutRule& rule : browserLayoutRules())
        layout_.push_back(
            holdBox(rule, boxOf(dialog, GetDlgItem(dialog, rule.control)), client.cx, client.cy));
}

void BrowserWindow::layOut() {
    if (!dialog_ || rolledUp_) return;
    const SIZE client = clientSize(dialog_);
    ControlBox group;
    SliderRow row;
    for (const HeldBox& held : layout_) {
        const ControlBox box = placeBox(held, client.cx, client.cy);
        const int id = held.rule.control;
        if (id == IDC_BROWSER_FILTER_GROUP) group = box;
        for (std::size_t i = 0; i < 3; ++i) {
            if (id == kLabelIds[i]) row.labels[i] = box;
            if (id == kSliderIds[i]) row.sliders[i] = box;
        }
        HWND control = id == IDC_BROWSER_LIST ? currentList_ : GetDlgItem(dialog_, id);
        if (control) place(control, box);
    }
    row = layOutSliderRow(group, row);
    for (std::size_t i = 0; i < 3; ++i) {
        place(GetDlgItem(dialog_, kLabelIds[i]), row.labels[i]);
        place(GetDlgItem(dialog_, kSliderIds[i]), row.sliders[i]);
    }
}

void BrowserWindow::sized() {
    if (!dialog_ || rolledUp_) return;
    layOut();
    chooseCaptionForm();
    showFilterCaption();
}

void BrowserWindow::chooseCaptionForm() {
    HWND group = GetDlgItem(dialog_, IDC_BROWSER_FILTER_GROUP);
    auto dc = windowDc(group);
    auto font = reinterpret_cast<HFONT>(SendMessageW(group, WM_GETFONT, 0, 0));
    auto selected = selectObject(dc.get(), font);
    const std::wstring longCaption = toUtf16(filterCaption(FilterCaptionForm::Long, 100, 100, 100));
    SIZE text{};
    GetTextExtentPoint32W(dc.get(), longCaption.c_str(), int(longCaption.size()), &text);
    RECT r{};
    GetWindowRect(group, &r);
    shortCaption_ = filterCaptionForm(text.cx, r.right - r.left) == FilterCaptionForm::Short;
}

void BrowserWindow::showFilterCaption() {
    const BrowserSettings s = settings();
    const std::string caption = filterCaption(
        shortCaption_ ? FilterCaptionForm::Short : FilterCaptionForm::Long, s.red, s.green, s.blue);
    SetDlgItemTextW(dialog_, IDC_BROWSER_FILTER_GROUP, toUtf16(caption).c_str());
}

void BrowserWindow::minimumSize(MINMAXINFO& info) const {
    info.ptMinTrackSize.x = createdSize_.cx;
    info.ptMinTrackSize.y = rolledUp_ ? rolledUpHeight() : createdSize_.cy;
}

void BrowserWindow::roll() {
    HWND window = this->window();
    if (!window) return;
    const bool up = windowHeight(window) >= 100;
    rolledUp_ = up;
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    SetWindowLongPtrW(window, GWL_STYLE,
                      up ? style & ~LONG_PTR(WS_THICKFRAME) : style | WS_THICKFRAME);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ToolWindow::roll();
    if (!up) sized();
}

BrowserSettings BrowserWindow::settings() const {
    BrowserSettings s;
    if (!dialog_) return s;
    s.mirrorLeftRight = IsDlgButtonChecked(dialog_, IDC_BROWSER_FLIP_LR) == BST_CHECKED;
    s.turnUpsideDown = IsDlgButtonChecked(dialog_, IDC_BROWSER_FLIP_UD) == BST_CHECKED;
    s.red = int(SendDlgItemMessageW(dialog_, IDC_BROWSER_RED, TBM_GETPOS, 0, 0));
    s.green = int(SendDlgItemMessageW(dialog_, IDC_BROWSER_GREEN, TBM_GETPOS, 0, 0));
    s.blue = int(SendDlgItemMessageW(dialog_, IDC_BROWSER_BLUE, TBM_GETPOS, 0, 0));
    return s;
}

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

void BrowserWindow::drawItem(const DRAWITEMSTRUCT& item) {
    if (!(item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) || item.itemID == UINT(-1)) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    UniqueBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
    FillRect(item.hDC, &item.rcItem, selected ? blue.get() : GetSysColorBrush(COLOR_WINDOW));
    const Tab* tab = currentTab();
    if (tab && tab->list.get() == item.hwndItem && item.itemData < tab->thumbnails.size()) {
        if (const auto& thumbnail = tab->thumbnails[item.itemData]) {
            const BrowserSettings s = settings();
            const PixelImage shown =
                flippedThumbnail(*thumbnail, s.mirrorLeftRight, s.turnUpsideDown);
            drawPixels(item.hDC, item.rcItem.left + 2, item.rcItem.top + 2, shown,
                       Rect{0, 0, kThumbnailWidth, kThumbnailHeight});
        }
    }
    if (selected && (item.itemAction & ODA_SELECT)) {
        const std::wstring name = listText(item.hwndItem, int(item.itemID));
        SetWindowTextW(dialog_, toUtf16(browserCaption(std::filesystem::path(name))).c_str());
    }
}

void BrowserWindow::command(int control, int code) {
    switch (control) {
        case IDC_BROWSER_FLIP_LR:
        case IDC_BROWSER_FLIP_UD:
            if (currentList_) InvalidateRect(currentList_, nullptr, FALSE);
            break;
        case IDC_BROWSER_REFRESH:
            if (code == BN_CLICKED) refresh();
            break;
        case IDC_BROWSER_ADD_FOLDER:
            if (code == BN_CLICKED) addFolder();
            break;
        case IDC_BROWSER_LIST:
            if (code == LBN_DBLCLK) doubleClicked();
            break;
        default:
            break;
    }
}

void BrowserWindow::notify(const NMHDR& header) {
    if (header.hwndFrom == tabControl_ && header.code == TCN_SELCHANGE)
        showTab(int(SendMessageW(tabControl_, TCM_GETCURSEL, 0, 0)));
}

void BrowserWindow::refresh() {
    Tab* tab = currentTab();
    if (!tab) return;
    WaitCursor wait;
    fillTab(*tab);
    SetWindowTextW(dialog_, toUtf16(kBrowserTitle).c_str());
}

void BrowserWindow::addFolder() {
    const Tab* tab = currentTab();
    const std::filesystem::path start =
        addFolderStart(tab ? std::optional(tab->folder) : std::nullopt, host_.filterFolder());
    const auto chosen = host_.chooseFolder(start, kAddFolderTitle);
    if (!chosen || withTrailingSeparator(*chosen).native() == withTrailingSeparator(start).native())
        return;
    WaitCursor wait;
    const int depth = ui_.askYesNo(subfolderQuestion(*chosen), kBrowserTitle) ? 1 : 0;
    if (scan(*chosen, depth) < 1) {
        ui_.showWarning(noImagesInFolderText(*chosen), kNoImagesInFolderCaption);
        return;
    }
    if (rootUnset_) {
        host_.setFilterFolder(*chosen);
        rootUnset_ = false;
    }
}

void BrowserWindow::doubleClicked() {
    const auto file = selectedFile();
    if (!file) return;
    if (shiftHeld())
        host_.openWorkingCopy(*file);
    else
        host_.filterWithFile(*file);
}

}  // namespace lumetra::win
