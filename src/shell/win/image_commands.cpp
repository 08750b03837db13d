#include "shell/win/image_commands.h"

#include <windows.h>

#include "base/win/utf16.h"
#include "document/win/canvas_window.h"
#include "document/win/picture_files.h"
#include "imageops/picture_commands.h"
#include "resources/resource_ids.h"
#include "shell/win/edit_commands.h"
#include "shell/win/file_dialogs.h"
#include "shell/win/program.h"
#include "shell/win/render_runtime.h"
#include "tools/brush_patches.h"

namespace lumetra::win {
namespace {

// Shows the wait cursor while it lives, when asked to.
class WaitCursor {
  public:
    explicit WaitCursor(bool wanted)
        : before_(wanted ? SetCursor(LoadCursorW(nullptr, IDC_WAIT)) : nullptr), wanted_(wanted) {}
    ~WaitCursor() {
        if (wanted_) SetCursor(before_);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR before_;
    bool wanted_;
};

void composite(Program& program, int id, const std::filesystem::path& file,
               const BrowserChoices& choices) {
    const std::optional<PixelImage> picture = loadPicturePixels(file, program.ui, true);
    if (!picture) return;
    if (!storeUndoSnapshot(program, false, 0)) return;
    const CompositeResult result = compositeImage(program.document.current(), *picture,
                                                  compositeOptionsForCommand(id, choices));
    if (!result.ok) {
        program.ui.warn(toUtf16(result.message), toUtf16(kCompositeCaption));
        return;
    }
    program.document.changed(kChangedPixels);
}

}  // namespace

void pictureCommand(Program& program, int id) {
    const PictureCommand* command = findPictureCommand(id);
    if (!command) return;
    if (!storeUndoSnapshot(program, command->askOnFailure, command->undoOperation)) return;
    PictureCommandResult result;
    {
        WaitCursor wait(command->waitCursor);
        result = command->apply(program.document.current());
    }
    if (!result.done) return;
    // A picture of another size takes its settings along; Double and Half also set a selection.
    program.document.changed(kChangedPixels |
                             (result.sizeChanged ? kChangedSize | kChangedSettings : 0u) |
                             (command->refresh == PictureRefresh::Layout ? kChangedSelection : 0u));
}

// Apply Brush asks before going on without undo; the boiler, pressed again and again, does not.
// Each keeps its own operation id so that quick repeats make one undo step, and the boiler
// records every run's time so that the merge counts from its last run.
void brushCommand(Program& program, int id) {
    const bool boiler = id == IDM_APPLY_BOILER;
    if (!storeUndoSnapshot(program, !boiler, id)) return;
    std::string message;
    const bool done = boiler ? applyColorBoiler(program.brush, program.document.current(), message)
                             : applyBrushToImage(program.brush, program.document.current(),
                                                 program.render.seed, message);
    if (boiler) program.document.touchUndoSnapshot(id);
    if (!done) {
        program.ui.warn(toUtf16(message), L"Lumetra");
        return;
    }
    program.document.changed(kChangedPixels);
    // The boiler shows each run at once: a held key repeats it faster than paints come.
    if (boiler && program.canvas) UpdateWindow(program.canvas->window());
}

void startBrush(Program& program) {
    std::string message;
    if (!buildBrush(program.brush.brush, initialBrushSettings(program.settings.brushPatches),
                    program.render.seed, message))
        program.ui.warn(toUtf16(message), L"Lumetra");
}

void compositeFromFileCommand(Program& program, int id) {
    const auto chosen =
        askForFile(program, FileDialogKind::OpenBitmap, program.settings.folders.imageFolder);
    if (!chosen) return;
    composite(program, id, chosen->path, browserPick(program).choices);
}

void compositeFromBrowserCommand(Program& program, int id) {
    ToolWindow* browser = program.tools.browser.get();
    if (browser && !browser->isOpen()) {
        browser->show();
        return;
    }
    const BrowserPick pick = browserPick(program);
    if (pick.file) composite(program, id, *pick.file, pick.choices);
}

void filterFromBrowserFile(Program& program, const std::filesystem::path& file) {
    composite(program, IDM_FILTER_FROM_BROWSER, file, browserPick(program).choices);
}

// Without the browser window the flips are off and the sliders read 0.
BrowserPick browserPick(const Program& program) {
    const BrowserWindow* browser = program.tools.browser.get();
    if (!browser || !browser->window()) return BrowserPick{};
    const BrowserSettings s = browser->settings();
    return BrowserPick{browser->selectedFile(),
                       BrowserChoices{s.mirrorLeftRight, s.turnUpsideDown,
                                      ChannelPercentages{s.red, s.green, s.blue}}};
}

}  // namespace lumetra::win
