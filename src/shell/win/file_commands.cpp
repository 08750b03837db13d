// The file commands: Open Image, Refresh From File, Save Image, Save Image As, Save Sound As,
// Exit and the recent files.

#include <string>

#include "base/win/utf16.h"
#include "browser/browser_texts.h"
#include "document/win/picture_files.h"
#include "render/wav_output.h"
#include "shell/program_folders.h"
#include "shell/win/commands.h"
#include "shell/win/edit_commands.h"
#include "shell/win/file_dialogs.h"
#include "shell/win/program.h"
#include "shell/win/render_runtime.h"
#include "shell/win/window_title.h"

namespace lumetra::win {
namespace {

const std::filesystem::path& imageFolder(const Program& program) {
    return program.settings.folders.imageFolder;
}

// The folder of a path with its trailing separator ("C:\Images\a.bmp" -> "C:\Images\").
std::filesystem::path folderOf(const std::filesystem::path& path) {
    return pathFromUtf8(folderOfPath(utf8FromPath(path)));
}

bool saveCurrentImage(Program& program, const std::filesystem::path& path) {
    return saveImageBmp(program.files, program.document.current, path, true,
                        program.settings.shell.attachRenderInfo != 0);
}

}  // namespace

void openImageCommand(Program& program, int) {
    auto chosen = askForFile(program, FileDialogKind::OpenBitmap, imageFolder(program));
    if (!chosen) return;
    openImagePath(program, chosen->path, chosen->title, true);
}

bool openImagePath(Program& program, const std::filesystem::path& path,
                   const std::wstring& displayName, bool takeUndoSnapshot) {
    ImageDocument& document = program.document;
    if (takeUndoSnapshot && !storeUndoSnapshot(program, true, 0)) return false;
    if (!loadImageFile(program.files, document.current, path, program.ui, true)) {
        setStartTitle(program);
        return false;
    }
    program.recent.add(path);
    document.path = path;
    document.displayName = toUtf8(displayName);
    program.settings.folders.imageFolder = folderOf(path);
    setImageTitle(program, displayName);
    pictureReplaced(program, true);
    return true;
}

void openWorkingCopy(Program& program, const std::filesystem::path& file) {
    ImageDocument& document = program.document;
    if (!storeUndoSnapshot(program, false, 0)) return;
    if (!loadImageFile(program.files, document.current, file, program.ui, true)) {
        setStartTitle(program);
        return;
    }
    document.path = workingCopyPath(file);
    // The file's title, as the platform keeps it (at most 256 characters).
    std::wstring name = document.path.filename().wstring();
    if (name.size() > 256) name.resize(256);
    document.displayName = toUtf8(name);
    setImageTitle(program, name);
    pictureReplaced(program, true);
}

void refreshFromFileCommand(Program& program, int) {
    ImageDocument& document = program.document;
    if (document.path.empty()) return;
    if (!storeUndoSnapshot(program, true, 0)) return;
    loadImageFile(program.files, document.current, document.path, program.ui, true);
    // A picture of another size needs the scroll bars laid out again; the selection stays.
    if (program.canvas) {
        program.canvas->refreshView(ViewRefresh::Layout);
        program.canvas->removePlayPosition();
    }
    prepareImageOscillators(program, document.current.settings);
    if (program.tools.renderOptions) program.tools.renderOptions->refreshIfOpen();
}

void saveImageCommand(Program& program, int id) {
    if (program.document.path.empty()) {
        saveImageAsCommand(program, id);
        return;
    }
    saveCurrentImage(program, program.document.path);
}

void saveImageAsCommand(Program& program, int) {
    ImageDocument& document = program.document;
    // A picture analysed from a sound has no file yet: it goes with the analyses.
    const bool analysed = document.current.renderInfo.valid == 1 &&
                          document.current.renderInfo.command == RenderInfoRecord::kAnalysisCommand;
    const std::filesystem::path start = !document.path.empty() ? folderOf(document.path)
                                        : analysed ? program.settings.folders.analysesFolder
                                                   : imageFolder(program);
    auto chosen = askForFile(program, FileDialogKind::SaveBitmap, start);
    if (!chosen) return;
    if (!saveCurrentImage(program, chosen->path)) return;
    document.path = chosen->path;
    document.displayName = toUtf8(chosen->title);
    program.settings.folders.imageFolder = folderOf(chosen->path);
    setImageTitle(program, chosen->title);
}

void saveSoundAsCommand(Program& program, int) {
    saveLatestSoundAs(program);
}

void exitCommand(Program& program, int) {
    PostMessageW(program.mainWindow, WM_CLOSE, 0, 0);
}

void openRecentCommand(Program& program, int id) {
    const int index = id - IDM_RECENT_FIRST;
    const std::wstring path = program.recent.path(index);
    if (path.empty()) return;
    // The entry holds the short form; the title shows the long name, as the menu does.
    openImagePath(program, std::filesystem::path(path), program.recent.name(index), false);
}

}  // namespace lumetra::win
