// The file commands: Open Image, Refresh From File, Save Image, Save Image As, Save Sound As.

#include <string>

#include "image/win/canvas_tools.h"
#include "document/image_save.h"
#include "image/win/canvas_window.h"
#include "image/win/image_files.h"
#include "render/win/render_bridge.h"
#include "render/win/render_options_window.h"
#include "shell/win/app_state.h"
#include "shell/win/commands.h"
#include "shell/win/file_dialogs.h"
#include "shell/win/program_folders.h"
#include "shell/win/recent_files.h"
#include "base/win/text.h"
#include "base/win/utf16.h"
#include "shell/win/window_title.h"

namespace lumetra::win {
namespace {

void removePlayPosition(CanvasWindow& canvas) {
    if (canvas.playDisplayOn()) SendMessageW(canvas.window(), kPlayPositionMessage, 1, -1);
}

}  // namespace

void openImageCommand(CanvasWindow& canvas) {
    AppState& s = appState();
    auto chosen = askForFile(s.mainWindow, FileDialogKind::OpenBitmap, s.folders.imageFolder);
    if (!chosen) return;
    openImagePath(canvas, chosen->path, chosen->title, true);
}

bool openImagePath(CanvasWindow& canvas, const std::filesystem::path& path,
                   const std::wstring& displayName, bool takeUndoSnapshot) {
    ImageDocument& document = canvas.document();
    if (takeUndoSnapshot && !storeUndoSnapshot(document, true, 0)) return false;
    if (!loadImageFile(document.current, path, true)) {
        setStartTitle();
        return false;
    }
    addRecentFile(path.wstring());
    document.path = path;
    document.displayName = toUtf8(displayName);
    appState().folders.imageFolder = folderOf(path);
    setImageTitle(displayName);
    canvas.refreshView(7);
    prepareImageOscillators(document.current.settings);
    refreshRenderOptionsWindow();
    removePlayPosition(canvas);
    return true;
}

void refreshFromFileCommand(CanvasWindow& canvas) {
    ImageDocument& document = canvas.document();
    if (document.path.empty()) return;
    if (!storeUndoSnapshot(document, true, 0)) return;
    loadImageFile(document.current, document.path, true);
    // A picture of another size needs the scroll bars laid out again.
    canvas.refreshView(kRefreshScrollBars | kRefreshKeepSelection);
    prepareImageOscillators(document.current.settings);
    refreshRenderOptionsWindow();
    removePlayPosition(canvas);
}

void saveImageCommand(CanvasWindow& canvas) {
    ImageDocument& document = canvas.document();
    if (document.path.empty()) {
        saveImageAsCommand(canvas);
        return;
    }
    saveImageBmp(document.current, document.path, true);
}

void saveImageAsCommand(CanvasWindow& canvas) {
    AppState& s = appState();
    const ImageDocument& document = canvas.document();
    std::filesystem::path start =
        document.path.empty() ? s.folders.imageFolder : folderOf(document.path);
    auto chosen = askForFile(s.mainWindow, FileDialogKind::SaveBitmap, start);
    if (!chosen) return;
    saveImageAsPath(canvas, chosen->path, chosen->title);
}

bool saveImageAsPath(CanvasWindow& canvas, const std::filesystem::path& path,
                     const std::wstring& title) {
    ImageDocument& document = canvas.document();
    if (!saveImageBmp(document.current, path, true)) return false;
    document.path = path;
    document.displayName = toUtf8(title);
    appState().folders.imageFolder = folderOf(path);
    setImageTitle(title);
    return true;
}

void saveSoundAsCommand(CanvasWindow& canvas) {
    saveLatestSoundAs(canvas.document());
}

}  // namespace lumetra::win
