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
#include "shell/win/unsaved_work.h"
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

// Reads `path` into the current picture; a file that does not load leaves the picture and shows
// the start title.
bool loadIntoDocument(Program& program, const std::filesystem::path& path) {
    if (loadImageFile(program.files, program.document.current(), path, program.ui, true))
        return true;
    setStartTitle(program);
    return false;
}

bool openAfterAsking(Program& program, const std::filesystem::path& path,
                     const std::wstring& displayName, bool takeUndoSnapshot) {
    if (takeUndoSnapshot && !storeUndoSnapshot(program, true, 0)) return false;
    if (!loadIntoDocument(program, path)) return false;
    program.recent.add(path);
    program.settings.folders.imageFolder = folderOf(path);
    program.document.opened(path, toUtf8(displayName));
    return true;
}

}  // namespace

void openImageCommand(Program& program, int) {
    if (!offerToSaveChanges(program)) return;
    auto chosen = askForFile(program, FileDialogKind::OpenBitmap, imageFolder(program));
    if (!chosen) return;
    openAfterAsking(program, chosen->path, chosen->title, true);
}

bool openImagePath(Program& program, const std::filesystem::path& path,
                   const std::wstring& displayName, bool takeUndoSnapshot) {
    if (!offerToSaveChanges(program)) return false;
    return openAfterAsking(program, path, displayName, takeUndoSnapshot);
}

void openWorkingCopy(Program& program, const std::filesystem::path& file) {
    if (!offerToSaveChanges(program)) return;
    if (!storeUndoSnapshot(program, false, 0)) return;
    if (!loadIntoDocument(program, file)) return;
    const std::filesystem::path copy = workingCopyPath(file);
    // The file's title, as the platform keeps it (at most 256 characters).
    std::wstring name = copy.filename().wstring();
    if (name.size() > 256) name.resize(256);
    program.document.opened(copy, toUtf8(name));
}

void refreshFromFileCommand(Program& program, int) {
    if (program.document.path().empty()) return;
    if (!offerToSaveChanges(program)) return;
    if (!storeUndoSnapshot(program, true, 0)) return;
    if (!loadImageFile(program.files, program.document.current(), program.document.path(),
                       program.ui, true))
        return;
    program.document.reverted();
}

void saveImageCommand(Program& program, int) {
    saveDocument(program);
}

void saveImageAsCommand(Program& program, int) {
    saveDocumentAs(program);
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
