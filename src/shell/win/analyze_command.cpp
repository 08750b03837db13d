#include "shell/win/analyze_command.h"

#include <cstdio>

#include "analysis/analysis_grid_store.h"
#include "analysis/wav_reader.h"
#include "base/win/registry_value_store.h"
#include "base/win/utf16.h"
#include "shell/win/analyze_dialog.h"
#include "shell/win/edit_commands.h"
#include "shell/win/file_dialogs.h"
#include "shell/win/program.h"
#include "shell/win/unsaved_work.h"
#include "shell/win/window_title.h"

namespace lumetra::win {
namespace {

constexpr wchar_t kCaption[] = L"Analyze Soundfile";

// Shows the progress and keeps the window painted; true while Esc is not held. Input is dropped
// meanwhile, so that no command can start inside the analysis.
bool analysisProgress(Program& program, int percent) {
    wchar_t text[32];
    std::swprintf(text, 32, L"Analysing %d%%", percent);
    program.ui.setStatus(0, text);
    program.ui.repaintStatus();
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageW(&message);
    return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) == 0;
}

}  // namespace

void analyzeSoundfileCommand(Program& program, int) {
    if (!offerToSaveChanges(program)) return;
    std::optional<ChosenFile> chosen =
        askForFile(program, FileDialogKind::OpenSound, program.settings.folders.soundfileFolder);
    if (!chosen) return;
    Sound sound;
    std::string message;
    if (!readWavFile(program.files, chosen->path, sound, message)) {
        program.ui.warn(toUtf16(message), kCaption);
        return;
    }
    RegistryValueStore store;
    std::optional<AnalysisGrid> grid;
    {
        ModalScope modal(program.tools);
        grid = askForAnalysisGrid(program.instance, program.mainWindow,
                                  initialAnalysisGrid(store, program.document.current().settings),
                                  chosen->title);
    }
    if (!grid) return;
    rememberAnalysisGrid(store, *grid);
    if (!checkAnalysisGrid(*grid, sound.seconds(), message)) {
        program.ui.warn(toUtf16(message), kCaption);
        return;
    }
    CanvasImage picture;
    {
        HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        const AnalysisOutcome done =
            analyseSound(sound, *grid, toUtf8(chosen->title), picture, message,
                         [&program](int percent) { return analysisProgress(program, percent); });
        SetCursor(before);
        if (done == AnalysisOutcome::Cancelled) {
            program.ui.setStatus(0, L"Analysis cancelled");
            return;
        }
        if (done != AnalysisOutcome::Done) {
            program.ui.setStatus(0, L"");
            program.ui.warn(toUtf16(message), kCaption);
            return;
        }
    }
    // As Open does: the picture before is the undo step, then the new one takes its place.
    if (!storeUndoSnapshot(program, true, 0)) return;
    program.document.current() = std::move(picture);
    program.document.made(toUtf8(chosen->title));
    program.ui.setStatus(0, L"Analysed " + chosen->title);
}

}  // namespace lumetra::win
