#include "shell/win/toolbar.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "base/win/text.h"
#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

constexpr BYTE kButton = BTNS_BUTTON;
constexpr BYTE kSeparator = BTNS_SEP;
constexpr BYTE kCheck = BTNS_CHECK;
constexpr BYTE kCheckGroup = BTNS_CHECKGROUP;

// Adds the bitmap resource `id` to the image list; -1 when it is missing.
int addImage(HIMAGELIST images, HINSTANCE instance, int id, int size) {
    UniqueBitmap bitmap;
    if (size >= 32) {
        bitmap.reset(
            static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id + IDB_LARGE_OFFSET),
                                            IMAGE_BITMAP, size, size, LR_CREATEDIBSECTION)));
    }
    if (!bitmap) {
        bitmap.reset(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP,
                                                     size, size, LR_CREATEDIBSECTION)));
    }
    if (!bitmap) return -1;
    return ImageList_AddMasked(images, bitmap.get(), COLORREF(IDB_TRANSPARENT_COLOR));
}

}  // namespace

namespace {

constexpr std::array<ToolbarEntry, 17> kToolbarEntries{{
    {IDM_NEW_IMAGE, kButton},
    {0, kSeparator},
    {IDM_UNDO, kButton},
    {IDM_REDO, kButton},
    {0, kSeparator},
    {IDM_TOOL_BRUSH, kCheckGroup},
    {IDM_TOOL_MOVE, kCheckGroup},
    {IDM_TOOL_ZOOM_ROTATE, kCheckGroup},
    {IDM_TOOL_SKEW_FLIP, kCheckGroup},
    {0, kSeparator},
    {IDM_SHOW_BRIGHTER, kCheck},
    {0, kSeparator},
    {IDM_RENDER_IMAGE, kButton},
    {IDM_RENDER_WITHOUT_BLUE, kButton},
    {IDM_PLAY, kButton},
    {IDM_STOP_PLAYBACK, kButton},
    {0, kSeparator},
}};

}  // namespace

const std::array<ToolbarEntry, 17>& toolbarEntries() {
    return kToolbarEntries;
}

HWND createToolbar(HWND parent, HINSTANCE instance, HWND statusBar, int currentTool,
                   UniqueImageList& images) {
    HWND toolbar = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, L"",
        WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | CCS_TOP, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(INT_PTR{IDW_TOOLBAR}), instance, nullptr);
    if (!toolbar) return nullptr;
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

    // A process the system does not treat as DPI aware is told 96 by the window; the screen's
    // own resolution then decides.
    UINT dpi = GetDpiForWindow(parent);
    if (dpi <= 96) {
        dpi = UINT(GetDeviceCaps(windowDc(nullptr).get(), LOGPIXELSX));
    }
    const int size = dpi >= 168 ? 32 : (dpi >= 120 ? 24 : 16);
    // The list is ours, at the size of the screen's resolution; the platform's own undo and redo
    // pictures are copied into it from a scratch toolbar.
    images.reset(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 12, 4));
    int undoImage = I_IMAGENONE;
    int redoImage = I_IMAGENONE;
    if (HWND scratch = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD, 0, 0, 0, 0, parent,
                                       nullptr, instance, nullptr)) {
        SendMessageW(scratch, TB_LOADIMAGES, size >= 24 ? IDB_STD_LARGE_COLOR : IDB_STD_SMALL_COLOR,
                     reinterpret_cast<LPARAM>(HINST_COMMCTRL));
        auto standard = reinterpret_cast<HIMAGELIST>(SendMessageW(scratch, TB_GETIMAGELIST, 0, 0));
        for (auto [picture, index] :
             {std::pair{STD_UNDO, &undoImage}, std::pair{STD_REDOW, &redoImage}}) {
            HICON icon = standard ? ImageList_GetIcon(standard, picture, ILD_NORMAL) : nullptr;
            if (icon) {
                *index = ImageList_AddIcon(images.get(), icon);
                DestroyIcon(icon);
            }
        }
        DestroyWindow(scratch);
    }
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));

    std::array<TBBUTTON, 17> buttons{};
    for (size_t i = 0; i < buttons.size(); ++i) {
        const ToolbarEntry& e = toolbarEntries()[i];
        TBBUTTON& b = buttons[i];
        b.idCommand = e.command;
        b.fsStyle = e.style;
        b.fsState = TBSTATE_ENABLED;
        if (e.command == 0) {
            b.iBitmap = 6;  // the separator's width
            continue;
        }
        if (e.command == IDM_UNDO) {
            b.iBitmap = undoImage;
        } else if (e.command == IDM_REDO) {
            b.iBitmap = redoImage;
        } else {
            int index = images ? addImage(images.get(), instance, e.command, size) : -1;
            b.iBitmap = index >= 0 ? index : I_IMAGENONE;
        }
        if (e.command == currentTool) b.fsState |= TBSTATE_CHECKED;
    }
    SendMessageW(toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);

    // The status bar shows its full text as a tooltip, fetched when it is needed.
    auto tips = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
    if (tips && statusBar) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = parent;
        tool.uId = reinterpret_cast<UINT_PTR>(statusBar);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return toolbar;
}

void checkToolButton(HWND toolbar, int tool) {
    if (!toolbar) return;
    SendMessageW(toolbar, TB_CHECKBUTTON, WPARAM(tool), MAKELPARAM(TRUE, 0));
    UpdateWindow(toolbar);
}

std::wstring tooltipText(HINSTANCE instance, UINT_PTR id) {
    if (id > 0xFFFF) return {};
    return loadString(instance, UINT(id), 119);
}

}  // namespace lumetra::win
