#include "shell/win/edit_commands.h"

#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "base/win/utf16.h"
#include "document/win/new_image_dialog.h"
#include "shell/win/program.h"
#include "shell/win/render_runtime.h"
#include "shell/win/window_title.h"

namespace lumetra::win {

void startUndoRing(Program& program) {
    program.undo = std::make_unique<UndoStore>(program.files, program.clock, program.ui,
                                               program.settings.folders.undoFolder,
                                               program.settings.shell.undoLimit);
}

bool storeUndoSnapshot(Program& program, bool askOnFailure, int operation) {
    return !program.undo ||
           program.undo->storeUndoSnapshot(program.document, askOnFailure, operation);
}

void pictureReplaced(Program& program, bool sizeMayChange) {
    if (program.canvas) {
        program.canvas->refreshView(sizeMayChange ? ViewRefresh::NewPicture : ViewRefresh::Repaint);
        program.canvas->removePlayPosition();
    }
    prepareImageOscillators(program, program.document.current.settings);
    if (program.tools.renderOptions) program.tools.renderOptions->refreshIfOpen();
}

void newImageCommand(Program& program, int) {
    ImageDocument& document = program.document;
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
    pictureReplaced(program, true);
    document.path.clear();
    document.displayName.clear();
    setStartTitle(program);
}

void undoCommand(Program& program, int command) {
    if (!program.undo) return;
    ImageDocument& document = program.document;
    const UndoCommandResult result = program.undo->runUndoCommand(document, command);
    if (!result.exchanged) return;
    if (program.canvas) {
        program.canvas->refreshView(result.sizeChanged ? ViewRefresh::NewPicture
                                                       : ViewRefresh::Repaint);
        program.canvas->removePlayPosition();
    }
    prepareImageOscillators(program, document.current.settings);
}

}  // namespace lumetra::win
