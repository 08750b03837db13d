#include "shell/win/test_hooks.h"

#include <string>

#include "image/win/canvas_window.h"
#include "render/win/render_flow.h"
#include "shell/win/app_state.h"
#include "shell/win/commands.h"
#include "shell/win/menu_state.h"
#include "shell/win/recent_files.h"
#include "shell/win/test_protocol.h"
#include "base/win/text.h"
#include "shell/win/tool_windows.h"
#include "base/win/utf16.h"

namespace lumetra::win {
namespace {

namespace tp = lumetra::testprotocol;

struct PendingRequest {
    ULONG_PTR kind = 0;
    std::wstring path;
    int result = 1;
};

PendingRequest& pending() {
    static PendingRequest request;
    return request;
}

LRESULT menuState(UINT id) {
    HMENU menu = GetMenu(appState().mainWindow);
    if (!menu) return LRESULT(0xFFFFFFFF);
    updateMenuState(menu);
    return LRESULT(GetMenuState(menu, id, MF_BYCOMMAND));
}

// The "Recent &Files" item of the File menu, three places from its end; -1 without a menu.
LRESULT recentMenuGrayed() {
    HMENU menu = GetMenu(appState().mainWindow);
    HMENU file = menu ? GetSubMenu(menu, 0) : nullptr;
    if (!file || GetMenuItemCount(file) < 3) return -1;
    updateMenuState(menu);
    const UINT state = GetMenuState(file, UINT(GetMenuItemCount(file) - 3), MF_BYPOSITION);
    return (state & MF_GRAYED) ? 1 : 0;
}

LRESULT recentMenuItems() {
    if (HMENU menu = GetMenu(appState().mainWindow)) updateMenuState(menu);
    HMENU popup = recentFilesPopup();
    return popup ? GetMenuItemCount(popup) : -1;
}

std::wstring recentMenuText(int position) {
    if (HMENU menu = GetMenu(appState().mainWindow)) updateMenuState(menu);
    HMENU popup = recentFilesPopup();
    if (!popup) return {};
    wchar_t text[tp::kTextBufferChars] = {};
    GetMenuStringW(popup, UINT(position), text, tp::kTextBufferChars, MF_BYPOSITION);
    return text;
}

LRESULT milli(double v) {
    return LRESULT(v * 1000.0);
}

LRESULT documentValue(WPARAM what) {
    const AppState& s = appState();
    const CanvasWindow* canvas = s.canvasRecord;
    if (!canvas) return -1;
    const CanvasImage& image = canvas->document().current;
    switch (what) {
        case tp::kPictureWidth:
            return image.pixels.width;
        case tp::kPictureHeight:
            return image.pixels.height;
        case tp::kSelectionLeft:
            return image.selection.left;
        case tp::kSelectionTop:
            return image.selection.top;
        case tp::kSelectionRight:
            return image.selection.right;
        case tp::kSelectionBottom:
            return image.selection.bottom;
        case tp::kPixelHash:
            return LRESULT(pixelHash(image.pixels));
        case tp::kCurrentTool:
            return s.currentTool;
        case tp::kDragMode:
            return LRESULT(canvas->dragMode());
        case tp::kRenderRunning:
            return s.renderRunning ? 1 : 0;
        case tp::kSoundLength:
            return LRESULT(latestSoundLength());
        case tp::kToolbarVisible:
            return s.toolbar && IsWindowVisible(s.toolbar) ? 1 : 0;
        case tp::kBrushOpen:
            return isToolWindowOpen(s.tools.brush) ? 1 : 0;
        case tp::kEchordOpen:
            return isToolWindowOpen(s.tools.echord) ? 1 : 0;
        case tp::kBrowserOpen:
            return isToolWindowOpen(s.tools.browser) ? 1 : 0;
        case tp::kRenderOptionsOpen:
            return isToolWindowOpen(s.tools.renderOptions) ? 1 : 0;
        case tp::kShowBrighter:
            return s.options.showBrighter;
        case tp::kSelectionStyle:
            return LRESULT(s.options.selectionStyle);
        case tp::kViewOffsetX:
            return canvas->viewOffset().x;
        case tp::kViewOffsetY:
            return canvas->viewOffset().y;
        case tp::kHasPath:
            return canvas->document().path.empty() ? 0 : 1;
        case tp::kSoundfileCounter:
            return s.options.soundfile.soundfileCounter;
        case tp::kLowFrequencyMilli:
            return milli(image.settings.lowFrequency);
        case tp::kHighFrequencyMilli:
            return milli(image.settings.highFrequency);
        case tp::kAmpFactorMilli:
            return milli(image.settings.ampFactor);
        case tp::kOutputTimeMilli:
            return milli(image.settings.outputTime);
        case tp::kLastRequestResult:
            return pending().result;
        case tp::kCanvasWindow:
            return reinterpret_cast<LRESULT>(canvas->window());
        case tp::kAttachRenderInfo:
            return s.options.attachRenderInfo;
        case tp::kSaveSoundEveryRender:
            return s.options.soundfile.saveSoundEveryRender;
        case tp::kRenderInfoValid:
            return LRESULT(image.renderInfo.valid);
        case tp::kNumberSoundfiles:
            return s.options.soundfile.numberSoundfiles;
        case tp::kSoundfileNamedAfterImage:
            return s.options.soundfile.soundfileNamedAfterImage;
        case tp::kRecentCount:
            return recentFileCount();
        case tp::kRecentMenuGrayed:
            return recentMenuGrayed();
        case tp::kRecentMenuItems:
            return recentMenuItems();
        case tp::kUndoIndex:
            return canvas->document().undoIndex;
        case tp::kUndoImageWidth:
            return canvas->document().undo.pixels.width;
        case tp::kUndoImageHeight:
            return canvas->document().undo.pixels.height;
        default:
            return -1;
    }
}

std::wstring programText(const CanvasWindow& canvas, WPARAM which, bool& known) {
    const ProgramFolders& f = appState().folders;
    known = true;
    switch (which) {
        case tp::kPathText:
            return canvas.document().path.wstring();
        case tp::kDisplayNameText:
            return toUtf16(canvas.document().displayName);
        case tp::kBaseFolderText:
            return f.baseFolder.wstring();
        case tp::kImageFolderText:
            return f.imageFolder.wstring();
        case tp::kFilterFolderText:
            return f.filterFolder.wstring();
        case tp::kSoundfileFolderText:
            return f.soundfileFolder.wstring();
        case tp::kAnalysesFolderText:
            return f.analysesFolder.wstring();
        case tp::kUndoFolderText:
            return f.undoFolder.wstring();
        default:
            break;
    }
    if (which >= tp::kRecentEntryText && which < tp::kRecentEntryText + 0x100)
        return recentFilePath(int(which - tp::kRecentEntryText));
    if (which >= tp::kRecentMenuText && which < tp::kRecentMenuText + 0x100)
        return recentMenuText(int(which - tp::kRecentMenuText));
    known = false;
    return {};
}

LRESULT documentText(WPARAM which, LPARAM buffer) {
    const CanvasWindow* canvas = appState().canvasRecord;
    if (!canvas || !buffer) return -1;
    bool known = false;
    std::wstring text = programText(*canvas, which, known);
    if (!known) return -1;
    if (text.size() >= size_t(tp::kTextBufferChars)) text.resize(tp::kTextBufferChars - 1);
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    text.copy(out, text.size());
    out[text.size()] = L'\0';
    return LRESULT(text.size());
}

void runPendingRequest() {
    PendingRequest& request = pending();
    CanvasWindow* canvas = appState().canvasRecord;
    if (!canvas || appState().renderRunning) {
        request.result = 0;
        return;
    }
    std::filesystem::path path(request.path);
    bool done = false;
    if (request.kind == tp::kOpenImagePath) {
        done = openImagePath(*canvas, path, path.filename().wstring(), true);
    } else if (request.kind == tp::kSaveImageAsPath) {
        done = saveImageAsPath(*canvas, path, path.filename().wstring());
    }
    request.result = done ? 1 : 0;
}

}  // namespace

std::uint32_t pixelHash(const PixelImage& image) {
    std::uint32_t hash = 2166136261u;
    for (std::int32_t r = 0; r < image.height; ++r) {
        const std::uint8_t* row = image.memoryRow(r);
        for (std::int32_t i = 0; i < 3 * image.width; ++i) {
            hash = (hash ^ row[i]) * 16777619u;
        }
    }
    return hash;
}

LRESULT answerTestQuery(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case tp::kQueryMenuState:
            return menuState(UINT(wParam));
        case tp::kQueryDocument:
            return documentValue(wParam);
        case tp::kRunPendingRequest:
            runPendingRequest();
            return 0;
        case tp::kQueryDocumentText:
            return documentText(wParam, lParam);
        default:
            return 0;
    }
}

LRESULT answerCopyData(const COPYDATASTRUCT* data) {
    if (!data || (data->dwData != tp::kOpenImagePath && data->dwData != tp::kSaveImageAsPath)) {
        return FALSE;
    }
    // The path arrives as UTF-16; it need not be terminated within the block.
    const auto* text = static_cast<const wchar_t*>(data->lpData);
    size_t count = text ? data->cbData / sizeof(wchar_t) : 0;
    std::wstring path(text, count);
    if (size_t end = path.find(L'\0'); end != std::wstring::npos) path.resize(end);
    if (path.empty()) return FALSE;
    PendingRequest& request = pending();
    request.kind = data->dwData;
    request.path = std::move(path);
    request.result = -1;
    PostMessageW(appState().mainWindow, tp::kRunPendingRequest, 0, 0);
    return TRUE;
}

}  // namespace lumetra::win
