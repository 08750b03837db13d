#include "shell/win/edit_commands.h"

#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "document/win/new_image_dialog.h"
#include "shell/win/program.h"
#include "shell/win/render_runtime.h"
#include "shell/win/unsaved_work.h"

namespace lumetra::win {

void startUndoRing(Program& program) {
    program.document.setUndoStore(std::make_unique<UndoStore>(
        program.files, program.clock, program.ui, program.settings.folders.undoFolder,
        program.settings.shell.undoLimit));
}

bool storeUndoSnapshot(Program& program, bool askOnFailure, int operation) {
    return program.document.storeUndoSnapshot(askOnFailure, operation);
}

void newImageCommand(Program& program, int) {
    if (!offerToSaveChanges(program)) return;
    ImageDocument& document = program.document.state();
    std::optional<RenderSettings> chosen;
    {
        ModalScope modal(program.tools);
        chosen = askForNewImage(program.instance, program.mainWindow, document.current.settings,
                                [&program](double high) { checkNyquistFor(program, high); });
    }
    if (!chosen) return;
    std::string message;
    auto pixels = createCanvasBitmap(chosen->width, chosen->height, message);
    if (!pixels) {
        program.ui.warn(L"Could not create new image", L"Could not create bitmap");
        return;
    }
    // The previous picture stays in memory for Undo; no undo file is written for it.
    adoptPixels(document.undo, std::move(document.current.pixels));
    document.current.settings = std::move(*chosen);
    adoptPixels(document.current, std::move(*pixels));
    document.current.renderInfo.valid = 0;
    document.current.renderInfo.flags = 0;
    program.document.madeNew();
}

void undoCommand(Program& program, int command) {
    program.document.undoCommand(command);
}

}  // namespace lumetra::win
