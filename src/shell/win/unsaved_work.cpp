#include "shell/win/unsaved_work.h"

#include <windows.h>

#include "base/file_io.h"
#include "base/win/utf16.h"
#include "document/image_save.h"
#include "document/save_names.h"
#include "render/render_steps.h"
#include "shell/program_folders.h"
#include "shell/win/file_dialogs.h"
#include "shell/win/program.h"

namespace lumetra::win {
namespace {

constexpr wchar_t kSaveErrorCaption[] = L"Error writing bitmap file";

// The folder of a path with its trailing separator ("C:\Images\a.bmp" -> "C:\Images\").
std::filesystem::path folderOf(const std::filesystem::path& path) {
    return pathFromUtf8(folderOfPath(utf8FromPath(path)));
}

// Writes the picture; a file that cannot be written is reported with the system's reason, and
// the file that was there stays as it was (the picture is written beside it first).
bool writePicture(Program& program, const std::filesystem::path& path) {
    if (saveImageBmp(program.files, program.document.current(), path, true,
                     program.settings.shell.attachRenderInfo != 0))
        return true;
    const SystemError error = program.files.lastError();
    program.ui.warn(toUtf16(writeErrorWarning(path, error.code, error.text)), kSaveErrorCaption);
    return false;
}

// The dialog checked the name the user typed; a name that got the ".bmp" ending is checked here.
bool mayWriteTo(Program& program, const std::filesystem::path& typed,
                const std::filesystem::path& target) {
    if (typed == target || !program.files.attributes(target)) return true;
    const std::wstring question =
        toUtf16(utf8FromPath(target.filename())) + L" already exists.\nDo you want to replace it?";
    return program.ui.ask(question, L"Save Bitmap");
}

}  // namespace

bool saveDocument(Program& program) {
    const std::filesystem::path path = program.document.path();
    if (path.empty() || !isBmpName(path)) return saveDocumentAs(program);
    if (!writePicture(program, path)) return false;
    program.document.saved(path, std::string(program.document.displayName()));
    return true;
}

bool saveDocumentAs(Program& program) {
    const Document& document = program.document;
    // A picture analysed from a sound has no file yet: it goes with the analyses.
    const RenderInfoRecord& record = document.current().renderInfo;
    const bool analysed = record.valid == 1 && record.command == RenderInfoRecord::kAnalysisCommand;
    const std::filesystem::path start = !document.path().empty() ? folderOf(document.path())
                                        : analysed ? program.settings.folders.analysesFolder
                                                   : program.settings.folders.imageFolder;
    // A picture read from another format is offered under its name as a BMP file.
    const std::wstring proposed = document.path().empty() || isBmpName(document.path())
                                      ? std::wstring()
                                      : toUtf16(proposedBmpName(document.displayName()));
    auto chosen = askForFile(program, FileDialogKind::SaveBitmap, start, proposed);
    if (!chosen) return false;
    const std::filesystem::path target = bmpSaveName(chosen->path);
    if (!mayWriteTo(program, chosen->path, target)) return false;
    if (!writePicture(program, target)) return false;
    program.settings.folders.imageFolder = folderOf(target);
    program.document.saved(target, utf8FromPath(target.filename()));
    return true;
}

bool offerToSaveChanges(Program& program) {
    if (!program.document.modified()) return true;
    const int answer =
        program.ui.askYesNoCancel(toUtf16(saveChangesQuestion(program.document.displayName())));
    if (answer == IDNO) return true;
    if (answer != IDYES) return false;
    return saveDocument(program);
}

}  // namespace lumetra::win
