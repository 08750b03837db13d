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
#include "browser/win/list_box.h"
#include "image/win/dib_paint.h"
#include "image/win/picture_loader.h"
#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

// Posted by the helper thread when thumbnails wait to be taken in.
constexpr UINT kThumbnailsMade = WM_APP + 61;
constexpr int kSliderIds[3] = {IDC_BROWSER_RED, IDC_BROWSER_GREEN, IDC_BROWSER_BLUE};
constexpr int kLabelIds[3] = {IDC_BROWSER_RED_LABEL, IDC_BROWSER_GREEN_LABEL,
                              IDC_BROWSER_BLUE_LABEL};

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
    tips_.create(dialog);
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
    if (tips_.notify(header)) return;
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
