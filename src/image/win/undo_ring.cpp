#include "image/win/undo_ring.h"

#include <windows.h>

#include <memory>

#include "document/undo_bmp_files.h"
#include "image/win/canvas_tools.h"
#include "image/win/canvas_window.h"
#include "render/win/render_bridge.h"
#include "shell/win/app_state.h"
#include "base/win/long_paths.h"
#include "shell/win/program_folders.h"
#include "shell/win/status_bar.h"
#include "shell/win/tool_windows.h"
#include "base/win/utf16.h"

namespace lumetra::win {
namespace {

class SystemTicks final : public TickClock {
  public:
    std::uint32_t tickCount() override { return GetTickCount(); }
};

class ShellPrompts final : public UndoPrompts {
  public:
    void showStatus(const std::string& text) override { setStatusText(0, toUtf16(text)); }
    bool askOkCancel(const std::string& text, const std::string& caption) override {
        const bool wereEnabled = appState().toolWindowsEnabled;
        if (wereEnabled) enableToolWindows(false);
        const int answer = MessageBoxW(appState().mainWindow, toUtf16(text).c_str(),
                                       toUtf16(caption).c_str(), MB_OKCANCEL | MB_ICONWARNING);
        if (wereEnabled) enableToolWindows(true);
        return answer == IDOK;
    }
};

// Snapshots without a folder to keep them in: the in-memory snapshot is all there is.
class NoUndoFiles final : public UndoFiles {
  public:
    bool save(const CanvasImage&, const std::filesystem::path&) override { return false; }
    bool load(CanvasImage&, const std::filesystem::path&) override { return false; }
    bool replace(const std::filesystem::path&, const std::filesystem::path&) override {
        return false;
    }
    void remove(const std::filesystem::path&) override {}
};

struct Ring {
    std::filesystem::path folder;
    std::int32_t limit = 0;
    std::unique_ptr<UndoStore> store;
};

SystemTicks& ticks() {
    static SystemTicks clock;
    return clock;
}

ShellPrompts& prompts() {
    static ShellPrompts p;
    return p;
}

}  // namespace

std::filesystem::path undoFolderForFiles() {
    const std::filesystem::path& folder = appState().folders.undoFolder;
    if (folder.empty()) return {};
    return std::filesystem::path(toApiPath(utf8FromPath(folder)));
}

UndoStore& undoRing() {
    static Ring ring;
    static UndoBmpFiles bmpFiles;
    static NoUndoFiles noFiles;
    const std::filesystem::path folder = undoFolderForFiles();
    const std::int32_t limit = appState().options.undoLimit;
    // The folder and the limit are settled once at start; a ring is made for what they are.
    if (!ring.store || ring.folder != folder || ring.limit != limit) {
        UndoFiles& files = folder.empty() ? static_cast<UndoFiles&>(noFiles) : bmpFiles;
        ring.store = std::make_unique<UndoStore>(files, ticks(), prompts(), folder, limit);
        ring.folder = folder;
        ring.limit = limit;
    }
    return *ring.store;
}

bool storeUndoSnapshot(ImageDocument& document, bool askOnFailure, int operation) {
    return undoRing().storeUndoSnapshot(document, askOnFailure, operation);
}

void touchUndoSnapshot(ImageDocument& document, int operation) {
    undoRing().touchUndoSnapshot(document, operation);
}

void undoCommand(CanvasWindow& canvas, int command) {
    ImageDocument& document = canvas.document();
    const UndoCommandResult result = undoRing().runUndoCommand(document, command);
    if (!result.exchanged) return;
    canvas.refreshView(result.sizeChanged ? 7 : 0);
    prepareImageOscillators(document.current.settings);
    if (canvas.playDisplayOn()) SendMessageW(canvas.window(), kPlayPositionMessage, 1, -1);
}

}  // namespace lumetra::win
