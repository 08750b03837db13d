#include "shell/win/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "base/win/text.h"
#include "base/win/utf16.h"
#include "render/sine_table.h"
#include "render/win/wave_out_device.h"
#include "shell/program_folders.h"
#include "shell/win/command_table.h"
#include "shell/win/commands.h"
#include "shell/win/edit_commands.h"
#include "shell/win/help_command.h"
#include "shell/win/menus.h"
#include "shell/win/playback_runtime.h"
#include "shell/win/program.h"
#include "shell/win/render_runtime.h"
#include "shell/win/settings_pass.h"
#include "shell/win/status_bar.h"
#include "shell/win/toolbar.h"
#include "shell/win/unsaved_work.h"

namespace lumetra::win {
namespace {

void displayCheck(Program& program) {
    auto screen = windowDc(nullptr);
    int bits = GetDeviceCaps(screen.get(), COLORRES);
    if (bits == 0) bits = GetDeviceCaps(screen.get(), BITSPIXEL);
    if (bits < 15)
        program.ui.warn(L"Lumetra will work better with higher color resolution displays");
}

// The first picture: black, at the default size and settings. False when its memory cannot be
// had.
bool startDocument(Program& program) {
    const RenderSettings& defaults = program.settings.renderDefaults;
    std::string message;
    auto current = createCanvasBitmap(defaults.width, defaults.height, message);
    auto undo = createCanvasBitmap(defaults.width, defaults.height, message);
    if (!current || !undo) return false;
    ImageDocument& document = program.document.state();
    document.current.settings = defaults;
    document.undo.settings = defaults;
    adoptPixels(document.current, std::move(*current));
    adoptPixels(document.undo, std::move(*undo));
    prepareDocumentOscillators(program);
    if (UndoStore* undoStore = program.document.undoStore()) undoStore->start();
    return true;
}

// The picture's settings become the defaults of the next start.
void keepPictureSettingsAsDefaults(Program& program) {
    RenderSettings& defaults = program.settings.renderDefaults;
    const RenderSettings& mine = program.document.current().settings;
    defaults.width = mine.width;
    defaults.height = mine.height;
    defaults.lowFrequency = mine.lowFrequency;
    defaults.highFrequency = mine.highFrequency;
    defaults.ampFactor = mine.ampFactor;
    defaults.outputTime = mine.outputTime;
    defaults.softSweeps = mine.softSweeps;
    defaults.noiseBandwidth = mine.noiseBandwidth;
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

HWND MainWindow::create() {
    const WindowLayout& l = program_.settings.layout;
    return CreateWindowExW(0, kMainClassName, program_.startTitle.c_str(), WS_OVERLAPPEDWINDOW,
                           l.mainX, l.mainY, l.mainWidth, l.mainHeight, nullptr, nullptr,
                           program_.instance, static_cast<WindowHandler*>(this));
}

void MainWindow::showFailure(const char* what) {
    program_.ui.warn(toUtf16(what));
}

bool MainWindow::onCreate(HWND window) {
    Program& p = program_;
    p.mainWindow = window;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                       ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                       ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    settleFolders(p.settings.folders, p.files);
    startUndoRing(p);
    p.currentTool = IDM_TOOL_BRUSH;
    p.currentCursor = LoadCursorW(nullptr, IDC_ARROW);
    RenderSettings& defaults = p.settings.renderDefaults;
    if (defaults.width > 0) {
        defaults.samplesPerPixel = int(
            std::trunc(double(p.settings.sound.sampleRate) * defaults.outputTime / defaults.width));
    }
    if (!startRenderRuntime(p)) {
        p.ui.fatalError(toUtf16(kSineTableMemoryText));
        return false;
    }
    p.recent.load();
    if (!startPlaybackRuntime(p)) {
        p.ui.fatalError(L"Could not get memory for sound buffers");
        return false;
    }

    RECT client{};
    GetClientRect(window, &client);
    p.statusBar = createStatusBar(window, p.instance);
    setStatusPartsAtCreation(p.statusBar, client.right);

    if (!startDocument(p)) {
        p.ui.warn(L"Could not get memory to create canvas");
        return false;
    }
    p.canvas = std::make_unique<CanvasWindow>(p.document.state(), p.viewHost);
    if (!p.canvas->create(window, p.instance, RECT{0, 0, defaults.width, defaults.height})) {
        return false;
    }

    displayCheck(p);
    p.toolbar = createToolbar(window, p.instance, p.statusBar, p.currentTool, p.toolbarImages);
    if (!createToolWindows(p)) return false;  // a fatal error ended the set-up
    p.canvas->refreshView(ViewRefresh::NewPicture);
    applyCanvasView(p);
    createRenderOptionsWindow(p);

    enableToolWindows(p.tools, true);
    showToolWindowsAsLeft(p);
    p.ui.setStatus(0, startHint(p));
    return true;
}

LRESULT MainWindow::onNotify(NMHDR* header) {
    if (header->code != TTN_GETDISPINFOW) return 0;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    Program& p = program_;
    if ((info->uFlags & TTF_IDISHWND) &&
        header->idFrom == reinterpret_cast<UINT_PTR>(p.statusBar)) {
        p.tooltipText = p.ui.status(0);
    } else {
        p.tooltipText = tooltipText(p.instance, header->idFrom);
    }
    info->lpszText = p.tooltipText.data();
    info->hinst = nullptr;
    return 0;
}

void MainWindow::onMenuSelect(UINT id, UINT flags) {
    ProgramUi& ui = program_.ui;
    if ((flags & MF_POPUP) == 0 && id >= IDM_RECENT_FIRST && id <= IDM_RECENT_LAST) {
        ui.setStatus(0, program_.recent.path(int(id) - IDM_RECENT_FIRST));
    } else if (flags & MF_POPUP) {
        ui.setStatus(0, L"");
    } else if (id == 0) {
        ui.setStatus(0, startHint(program_));  // the menu closed
    } else {
        ui.setStatus(0, loadString(program_.instance, id, 399));
    }
    ui.setStatus(1, L"");
}

LRESULT MainWindow::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Program& p = program_;
    switch (message) {
        case WM_CREATE:
            return onCreate(window) ? 0 : -1;
        case WM_DESTROY:
            runShutdown(p);
            PostQuitMessage(0);
            return 0;
        case WM_CLOSE:
            // The render holds the picture; the window closes once it has finished.
            if (p.renderRunning) {
                p.closeAfterRender = true;
                return 0;
            }
            // A changed picture is saved, or left on purpose, before the program ends.
            if (!offerToSaveChanges(p)) return 0;
            break;
        case WM_QUERYENDSESSION:
            return offerToSaveChanges(p) ? TRUE : FALSE;
        case WM_SIZE:
            layoutMainWindow(p, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ACTIVATE:
            p.tools.active = nullptr;
            if (LOWORD(wParam) != WA_INACTIVE) keepToolWindowsAboveOwner(p.tools);
            break;
        case WM_NOTIFY:
            return onNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_HELP:
            executeCommand(p, IDM_HELP);
            return TRUE;
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            // The wheel scrolls and zooms the canvas wherever the focus is.
            if (p.canvas && p.canvas->window())
                return SendMessageW(p.canvas->window(), message, wParam, lParam);
            break;
        case WM_COMMAND:
            // Notifications of controls are not commands; menus (0), accelerators (1) and the
            // toolbar's clicks (BN_CLICKED is 0) are.
            if (HIWORD(wParam) > 1) return 0;
            executeCommand(p, LOWORD(wParam));
            return 0;
        case WM_INITMENU:
            updateMenuState(p, reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_MENUSELECT:
            onMenuSelect(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DPICHANGED: {
            auto* r = reinterpret_cast<RECT*>(lParam);
            SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case kBufferDoneMessage:
            onBufferDone(p, wParam, lParam);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void attachMainMenu(Program& program) {
    HMENU menu = LoadMenuW(program.instance, MAKEINTRESOURCEW(IDR_MAINMENU));
    if (!menu) return;
    // With the toolbar there, "&Toolbar" goes.
    if (program.toolbar) removeCommandItem(menu, IDM_TOOLBAR);
    SetMenu(program.mainWindow, menu);
}

void layoutMainWindow(Program& program, int width, int height) {
    int top = 0;
    int bottom = height;
    if (HWND bar = program.statusBar) {
        SendMessageW(bar, WM_SIZE, 0, MAKELPARAM(width, height));
        setStatusPartsAfterResize(bar, width);
        RECT r{};
        GetWindowRect(bar, &r);
        bottom -= r.bottom - r.top;
    }
    if (HWND toolbar = program.toolbar; toolbar && IsWindowVisible(toolbar)) {
        SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
        RECT r{};
        GetWindowRect(toolbar, &r);
        top = r.bottom - r.top;
    }
    if (program.canvas && program.canvas->window())
        program.canvas->place(RECT{0, top, width, std::max(bottom, top)});
}

void runShutdown(Program& program) {
    if (program.shutdownDone) return;
    program.shutdownDone = true;
    stopPlaybackAtExit(program.playback);
    if (program.canvas && program.canvas->window()) {
        keepPictureSettingsAsDefaults(program);
        program.settings.layout.canvasZoom = program.canvas->zoomStep();
        // The slot file then holds the picture as it was at exit.
        program.document.storeExitSnapshot();
        DestroyWindow(program.canvas->window());
    }
    releaseHelp(program);
    recordToolPlacements(program.tools);
    const std::string settingsError = saveSettings(program);
    if (!settingsError.empty()) {
        // The main window is going; the box stands on its own.
        const std::wstring text = toUtf16(settingsNotSavedText(settingsError));
        MessageBoxW(nullptr, text.c_str(), L"Lumetra Warning!", MB_OK | MB_ICONWARNING);
    }
    program.recent.save();
    destroyToolWindows(program.tools);
    stopRenderRuntime(program.render);
}

void endProgram(Program& program) {
    if (program.mainWindow && IsWindow(program.mainWindow)) {
        HWND main = program.mainWindow;
        program.mainWindow = nullptr;
        DestroyWindow(main);
        return;
    }
    runShutdown(program);
    PostQuitMessage(0);
}

}  // namespace lumetra::win
