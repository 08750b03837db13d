#include "shell/win/main_window.h"

#include <commctrl.h>

#include <cmath>
#include <memory>
#include <string>

#include "image/win/canvas_window.h"
#include "render/sine_table.h"
#include "render/win/playback_win.h"
#include "render/win/render_bridge.h"
#include "render/win/render_flow.h"
#include "render/win/render_options_window.h"
#include "shell/win/app_state.h"
#include "shell/win/commands.h"
#include "shell/win/ids.h"
#include "shell/win/menu_state.h"
#include "shell/win/message_boxes.h"
#include "shell/win/message_handler.h"
#include "shell/win/program_folders.h"
#include "shell/win/recent_files.h"
#include "shell/win/settings.h"
#include "shell/win/simple_tool_window.h"
#include "shell/win/status_bar.h"
#include "shell/win/text.h"
#include "shell/win/tool_windows.h"
#include "shell/win/toolbar.h"
#include "shell/win/utf16.h"
#include "shell/win/window_title.h"
#include "tools/win/brush_window.h"

namespace lumetra::win {
namespace {

// The four tool windows' records; they outlive their windows.
struct ToolWindowRecords {
    std::unique_ptr<BrushWindow> brush;
    std::unique_ptr<SimpleToolWindow> browser;
    std::unique_ptr<SimpleToolWindow> echord;
    std::unique_ptr<RenderOptionsWindow> renderOptions;
};

ToolWindowRecords& toolRecords() {
    static ToolWindowRecords records;
    return records;
}

class MainWindow : public WindowHandler {
  public:
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    bool onCreate(HWND window);
    void onSize(int width, int height);
    LRESULT onNotify(NMHDR* header);
    void onMenuSelect(UINT id, UINT flags, HMENU menu);
};

MainWindow& mainWindowRecord() {
    static MainWindow record;
    return record;
}

void displayCheck() {
    HDC screen = GetDC(nullptr);
    int bits = GetDeviceCaps(screen, COLORRES);
    if (bits == 0) bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    if (bits < 15) showWarning(L"Lumetra will work better with higher color resolution displays");
}

void releaseRenderBuffers() {
    stopRenderRuntime();
}

void createToolWindows(HWND owner) {
    AppState& s = appState();
    WindowLayout& l = s.layout;
    ToolWindowRecords& r = toolRecords();

    r.brush = std::make_unique<BrushWindow>(ToolPlacement{&l.brushX, &l.brushY, &l.brushShow});
    s.tools.brush = r.brush->create(s.instance, owner, IDD_BRUSH);
    r.brush->moveTo(l.brushX, l.brushY);

    r.browser = std::make_unique<SimpleToolWindow>(
        ToolPlacement{&l.browserX, &l.browserY, &l.browserShow, &l.browserWidth, &l.browserBottom},
        true);
    s.tools.browser = r.browser->create(s.instance, owner, IDD_IMAGE_BROWSER);
    if (!s.tools.browser) {
        showFatalError(L"Could not create Image Browser window!");
        return;
    }
    SetWindowPos(s.tools.browser, nullptr, l.browserX, l.browserY, l.browserWidth,
                 l.browserBottom - l.browserY, SWP_NOZORDER | SWP_NOACTIVATE);

    r.echord = std::make_unique<SimpleToolWindow>(
        ToolPlacement{&l.echordX, &l.echordY, &l.echordShow}, true);
    s.tools.echord = r.echord->create(s.instance, owner, IDD_ECHORD);
    r.echord->moveTo(l.echordX, l.echordY);
}

void showToolWindowsAsLeft() {
    AppState& s = appState();
    ToolWindowRecords& r = toolRecords();
    if (r.browser) r.browser->applyShowState(s.layout.browserShow);
    if (r.renderOptions) r.renderOptions->applyShowState(s.layout.renderShow);
    if (r.echord) r.echord->applyShowState(s.layout.echordShow);
    if (r.brush) r.brush->applyShowState(s.layout.brushShow);
}

// The settings keep where the tool windows stand at exit, so they are asked before the save.
void recordToolPlacements() {
    ToolWindowRecords& r = toolRecords();
    if (r.echord) r.echord->recordPlacement();
    if (r.brush) r.brush->recordPlacement();
    if (r.browser) r.browser->recordPlacement();
    if (r.renderOptions) r.renderOptions->recordPlacement();
}

bool MainWindow::onCreate(HWND window) {
    AppState& s = appState();
    s.mainWindow = window;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                       ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                       ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    settleFolders(s.folders);
    s.currentTool = IDM_TOOL_BRUSH;
    s.currentCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (s.defaultSettings.width > 0) {
        s.defaultSettings.samplesPerPixel = int(std::trunc(
            double(s.sound.sampleRate) * s.defaultSettings.outputTime / s.defaultSettings.width));
    }
    if (!startRenderRuntime()) {
        showFatalError(toUtf16(kSineTableMemoryText));
        return false;
    }
    loadRecentFiles();
    if (!startPlaybackRuntime()) {
        showFatalError(L"Could not get memory for sound buffers");
        return false;
    }

    RECT client{};
    GetClientRect(window, &client);
    s.statusBar = createStatusBar(window, s.instance);
    setStatusPartsAtCreation(s.statusBar, client.right);

    RECT canvasRect{0, 0, s.defaultSettings.width, s.defaultSettings.height};
    s.canvasRecord = CanvasWindow::create(window, s.instance, canvasRect);
    if (!s.canvasRecord) return false;
    s.canvas = s.canvasRecord->window();

    displayCheck();
    s.toolbar = createToolbar(window, s.instance, s.statusBar, s.currentTool);
    createToolWindows(window);
    if (!s.mainWindow) return false;  // a fatal error ended the set-up
    s.canvasRecord->refreshView(7);

    ToolWindowRecords& r = toolRecords();
    r.renderOptions = std::make_unique<RenderOptionsWindow>();
    s.tools.renderOptions = r.renderOptions->create(s.instance, window, IDD_RENDER_OPTIONS);
    r.renderOptions->moveTo(s.layout.renderX, s.layout.renderY);

    enableToolWindows(true);
    showToolWindowsAsLeft();
    return true;
}

void MainWindow::onSize(int width, int height) {
    layoutMainWindow(width, height);
}

LRESULT MainWindow::onNotify(NMHDR* header) {
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        AppState& s = appState();
        if ((info->uFlags & TTF_IDISHWND) &&
            header->idFrom == reinterpret_cast<UINT_PTR>(s.statusBar)) {
            s.tooltipText = statusText(0);
        } else {
            s.tooltipText = tooltipText(s.instance, header->idFrom);
        }
        info->lpszText = s.tooltipText.data();
        info->hinst = nullptr;
        return 0;
    }
    return 0;
}

void MainWindow::onMenuSelect(UINT id, UINT flags, HMENU) {
    if ((flags & MF_POPUP) == 0 && id >= IDM_RECENT_FIRST && id <= IDM_RECENT_LAST) {
        setStatusText(0, recentFilePath(int(id) - IDM_RECENT_FIRST));
    } else if (flags & MF_POPUP) {
        setStatusText(0, L"");
    } else {
        setStatusText(0, loadString(appState().instance, id, 399));
    }
    setStatusText(1, L"");
}

LRESULT MainWindow::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    AppState& s = appState();
    switch (message) {
        case WM_CREATE:
            return onCreate(window) ? 0 : -1;
        case WM_DESTROY:
            runShutdown();
            PostQuitMessage(0);
            return 0;
        case WM_CLOSE:
            // The render holds the picture; the window closes once it has finished.
            if (s.renderRunning) {
                s.closeAfterRender = true;
                return 0;
            }
            break;
        case WM_SIZE:
            onSize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ACTIVATE:
            s.activeToolWindow = nullptr;
            if (LOWORD(wParam) != WA_INACTIVE) keepToolWindowsAboveOwner();
            break;
        case WM_NOTIFY:
            return onNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_HELP:
            executeCommand(s.canvasRecord, IDM_HELP);
            return TRUE;
        case WM_COMMAND:
            // Notifications of controls are not commands; menus (0), accelerators (1) and the
            // toolbar's clicks (BN_CLICKED is 0) are.
            if (HIWORD(wParam) > 1) return 0;
            executeCommand(s.canvasRecord, LOWORD(wParam));
            return 0;
        case WM_INITMENU:
            updateMenuState(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_MENUSELECT:
            onMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
            return 0;
        case WM_DPICHANGED: {
            auto* r = reinterpret_cast<RECT*>(lParam);
            SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case kWaveOutDone:
            onWaveOutDone(wParam, lParam);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool registerWindowClasses(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowTrampoline;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_LUMETRA));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_LUMETRA), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = kMainClassName;
    if (!RegisterClassExW(&wc)) return false;
    return CanvasWindow::registerClass(instance);
}

HWND createMainWindow(HINSTANCE instance) {
    AppState& s = appState();
    const WindowLayout& l = s.layout;
    return CreateWindowExW(0, kMainClassName, s.startTitle.c_str(), WS_OVERLAPPEDWINDOW, l.mainX,
                           l.mainY, l.mainWidth, l.mainHeight, nullptr, nullptr, instance,
                           static_cast<WindowHandler*>(&mainWindowRecord()));
}

void attachMainMenu(HWND mainWindow, HINSTANCE instance) {
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINMENU));
    if (!menu) return;
    // "&Analyze Soundfile..." has no function here; the separator its removal doubles goes too.
    if (DeleteMenu(menu, IDM_ANALYZE_SOUNDFILE, MF_BYCOMMAND)) {
        HMENU file = GetSubMenu(menu, 0);
        if (file && (GetMenuState(file, 4, MF_BYPOSITION) & MF_SEPARATOR)) {
            DeleteMenu(file, 4, MF_BYPOSITION);
        }
    }
    // With the toolbar there, "&Toolbar" goes, and with it the separator it leaves at the top
    // of the Tools menu.
    if (appState().toolbar && DeleteMenu(menu, IDM_TOOLBAR, MF_BYCOMMAND)) {
        HMENU tools = GetSubMenu(menu, 6);
        if (tools && (GetMenuState(tools, 0, MF_BYPOSITION) & MF_SEPARATOR)) {
            DeleteMenu(tools, 0, MF_BYPOSITION);
        }
    }
    SetMenu(mainWindow, menu);
}

void layoutMainWindow(int width, int height) {
    AppState& s = appState();
    int top = 0;
    int bottom = height;
    if (s.statusBar) {
        SendMessageW(s.statusBar, WM_SIZE, 0, MAKELPARAM(width, height));
        setStatusPartsAfterResize(s.statusBar, width);
        RECT r{};
        GetWindowRect(s.statusBar, &r);
        bottom -= r.bottom - r.top;
    }
    if (s.toolbar && IsWindowVisible(s.toolbar)) {
        SendMessageW(s.toolbar, TB_AUTOSIZE, 0, 0);
        RECT r{};
        GetWindowRect(s.toolbar, &r);
        top = r.bottom - r.top;
    }
    if (s.canvas) {
        MoveWindow(s.canvas, 0, top, width, std::max(bottom - top, 0), TRUE);
        if (s.canvasRecord) s.canvasRecord->refreshView(5);
    }
}

void runShutdown() {
    AppState& s = appState();
    if (s.shutdownDone) return;
    s.shutdownDone = true;
    stopPlaybackAtExit();
    if (s.canvas) DestroyWindow(s.canvas);
    s.canvas = nullptr;
    recordToolPlacements();
    saveSettings();
    saveRecentFiles();
    // Each tool window records its placement as it is destroyed.
    for (HWND* w : {&s.tools.echord, &s.tools.brush, &s.tools.browser, &s.tools.renderOptions}) {
        if (*w) DestroyWindow(*w);
        *w = nullptr;
    }
    s.activeToolWindow = nullptr;
    releaseRenderBuffers();
}

void endProgram() {
    AppState& s = appState();
    if (s.mainWindow && IsWindow(s.mainWindow)) {
        HWND main = s.mainWindow;
        s.mainWindow = nullptr;
        DestroyWindow(main);
        return;
    }
    runShutdown();
    PostQuitMessage(0);
}

}  // namespace lumetra::win
