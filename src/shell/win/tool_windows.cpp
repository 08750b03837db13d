#include "shell/win/tool_windows.h"

#include <initializer_list>

#include "resources/resource_ids.h"
#include "shell/win/image_commands.h"
#include "shell/win/program.h"

namespace lumetra::win {
namespace {

template <typename Window>
HWND windowOf(const std::unique_ptr<Window>& record) {
    return record ? record->window() : nullptr;
}

}  // namespace

bool createToolWindows(Program& program) {
    WindowLayout& l = program.settings.layout;
    ToolWindows& t = program.tools;
    HWND owner = program.mainWindow;

    // The brush is built before its window, which shows it: strokes paint with it even when
    // the window cannot be made.
    startBrush(program);
    t.brush = std::make_unique<BrushWindow>(ToolPlacement{&l.brushX, &l.brushY, &l.brushShow},
                                            t.active, program.brush, program.settings.brushPatches,
                                            program.render.seed, program.viewHost);
    t.brush->create(program.instance, owner, IDD_BRUSH);
    t.brush->moveTo(l.brushX, l.brushY);

    t.browser = std::make_unique<BrowserWindow>(
        ToolPlacement{&l.browserX, &l.browserY, &l.browserShow, &l.browserWidth, &l.browserBottom},
        t.active, program.files, program.ui, program.browserHost);
    HWND browser = t.browser->create(program.instance, owner, IDD_IMAGE_BROWSER);
    if (!browser) {
        program.ui.fatalError(L"Could not create Image Browser window!");
        return false;
    }
    SetWindowPos(browser, nullptr, l.browserX, l.browserY, l.browserWidth,
                 l.browserBottom - l.browserY, SWP_NOZORDER | SWP_NOACTIVATE);

    t.echord =
        std::make_unique<EchordWindow>(ToolPlacement{&l.echordX, &l.echordY, &l.echordShow},
                                       t.active, program.settings.echordPatches, program.viewHost);
    t.echord->create(program.instance, owner, IDD_ECHORD);
    t.echord->moveTo(l.echordX, l.echordY);
    return true;
}

void createRenderOptionsWindow(Program& program) {
    WindowLayout& l = program.settings.layout;
    ToolWindows& t = program.tools;
    t.renderOptions = std::make_unique<RenderOptionsWindow>(
        ToolPlacement{&l.renderX, &l.renderY, &l.renderShow}, t.active, program.viewHost);
    t.renderOptions->create(program.instance, program.mainWindow, IDD_RENDER_OPTIONS);
    t.renderOptions->moveTo(l.renderX, l.renderY);
}

void showToolWindowsAsLeft(Program& program) {
    const WindowLayout& l = program.settings.layout;
    ToolWindows& t = program.tools;
    if (t.browser) t.browser->applyShowState(l.browserShow);
    if (t.renderOptions) t.renderOptions->applyShowState(l.renderShow);
    if (t.echord) t.echord->applyShowState(l.echordShow);
    if (t.brush) t.brush->applyShowState(l.brushShow);
}

void recordToolPlacements(ToolWindows& t) {
    for (ToolWindow* w : std::initializer_list<ToolWindow*>{t.echord.get(), t.brush.get(),
                                                            t.browser.get(), t.renderOptions.get()})
        if (w) w->recordPlacement();
}

void destroyToolWindows(ToolWindows& t) {
    // Each records its placement as it is destroyed.
    for (HWND w :
         {windowOf(t.echord), windowOf(t.brush), windowOf(t.browser), windowOf(t.renderOptions)})
        if (w) DestroyWindow(w);
    t.active = nullptr;
}

void enableToolWindows(ToolWindows& t, bool enable) {
    for (HWND w :
         {windowOf(t.brush), windowOf(t.echord), windowOf(t.browser), windowOf(t.renderOptions)})
        if (w) EnableWindow(w, enable ? TRUE : FALSE);
    t.enabled = enable;
}

ModalScope::ModalScope(ToolWindows& tools) : tools_(tools), wereEnabled_(tools.enabled) {
    if (wereEnabled_) enableToolWindows(tools_, false);
}

ModalScope::~ModalScope() {
    if (wereEnabled_) enableToolWindows(tools_, true);
}

void keepToolWindowsAboveOwner(const ToolWindows& t) {
    for (HWND w :
         {windowOf(t.browser), windowOf(t.renderOptions), windowOf(t.echord), windowOf(t.brush)}) {
        if (w && IsWindowVisible(w)) {
            SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

ToolWindow* activeToolWindow(const ToolWindows& t) {
    if (!t.active) return nullptr;
    for (ToolWindow* w : std::initializer_list<ToolWindow*>{t.brush.get(), t.echord.get(),
                                                            t.browser.get(), t.renderOptions.get()})
        if (w && w->window() == t.active) return w;
    return nullptr;
}

ToolWindow* toolWindowOf(const ToolWindows& t, int command) {
    switch (command) {
        case IDM_BRUSH_WINDOW:
            return t.brush.get();
        case IDM_ECHORD_WINDOW:
            return t.echord.get();
        case IDM_BROWSER_WINDOW:
            return t.browser.get();
        case IDM_RENDER_OPTIONS_WINDOW:
            return t.renderOptions.get();
        default:
            return nullptr;
    }
}

}  // namespace lumetra::win
