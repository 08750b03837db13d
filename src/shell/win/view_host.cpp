#include "shell/win/view_host.h"

#include "base/win/utf16.h"
#include "document/win/canvas_window.h"
#include "shell/win/edit_commands.h"
#include "shell/win/program.h"
#include "shell/win/render_flow.h"
#include "shell/win/render_runtime.h"

namespace lumetra::win {

bool ProgramViewHost::showBrighter() {
    return program_.settings.shell.showBrighter != 0;
}

int ProgramViewHost::dragDecoration() {
    return program_.settings.shell.dragDecoration;
}

int ProgramViewHost::currentTool() {
    return program_.currentTool;
}

HCURSOR ProgramViewHost::cursor() {
    return program_.currentCursor;
}

void ProgramViewHost::setCursor(HCURSOR cursor) {
    program_.currentCursor = cursor;
}

HCURSOR ProgramViewHost::toolCursor(int id) {
    return win::toolCursor(program_, id);
}

bool ProgramViewHost::renderRunning() {
    return program_.renderRunning;
}

void ProgramViewHost::setStatusText(int part, std::wstring_view text) {
    program_.ui.setStatus(part, text);
}

bool ProgramViewHost::storeUndoSnapshot(int operation) {
    return win::storeUndoSnapshot(program_, false, operation);
}

void ProgramViewHost::touchUndoSnapshot(int operation) {
    program_.document.touchUndoSnapshot(operation);
}

PlayMarkerSource ProgramViewHost::playMarker() {
    return playMarkerSource(program_.render);
}

RenderSettings ProgramViewHost::editedSettings() {
    return program_.document.current().settings;
}

int ProgramViewHost::sampleRate() {
    return program_.settings.sound.sampleRate;
}

int ProgramViewHost::defaultNoiseBandwidth() {
    return program_.settings.renderDefaults.noiseBandwidth;
}

void ProgramViewHost::settingsEdited(const RenderSettings& edited, bool fieldLeftOrArrow) {
    RenderSettings settings = edited;
    if (fieldLeftOrArrow) {
        checkNyquistFor(program_, settings.highFrequency);
        prepareImageOscillators(program_, settings);
    }
    program_.document.editSettings(settings);
}

void ProgramViewHost::renderPressed() {
    SetFocus(program_.mainWindow);
    SendMessageW(program_.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_RENDER_IMAGE, 0), 0);
}

// A dab of the stroke under way; the canvas has taken the stroke's undo snapshot. Only the dab's
// part of the view is repainted, so that long strokes on large pictures keep up with the mouse.
void ProgramViewHost::brushDab(POINT p) {
    std::string message;
    if (!paintDab(program_.brush, program_.document.current(), program_.render.seed, p.x, p.y,
                  message)) {
        program_.ui.warn(toUtf16(message), L"Lumetra");
        return;
    }
    program_.document.changed(kChangedPixels, dabRect(program_.brush.brush.settings, p.x, p.y));
}

// The Move and deformation drags: the canvas has taken the undo snapshot at button-down, and each
// mouse move recomputes the whole picture from it. The screen is read once per drag, since it
// sets the deformations' units.
void ProgramViewHost::startMove(POINT p) {
    program_.drag = ToolDrag{DragPoint{p.x, p.y}, lumetra::DeformKind::ZoomRotate, ScreenSize{}};
}

void ProgramViewHost::continueMove(POINT p) {
    ImageDocument& document = program_.document.state();
    PixelImage& picture = document.current.pixels;
    const DragPictures pictures{document.undo.pixels, picture,
                                Rect{0, 0, picture.width, picture.height},
                                &program_.render.workers};
    showDragStatus(
        moveDrag(pictures, program_.drag.anchor, DragPoint{p.x, p.y}, document.current.settings));
}

void ProgramViewHost::startDeformation(DeformKind kind, POINT p) {
    const auto deform = kind == DeformKind::SkewFlip ? lumetra::DeformKind::SkewFlip
                                                     : lumetra::DeformKind::ZoomRotate;
    program_.drag =
        ToolDrag{DragPoint{p.x, p.y}, deform,
                 ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
}

void ProgramViewHost::continueDeformation(POINT p) {
    ImageDocument& document = program_.document.state();
    PixelImage& picture = document.current.pixels;
    const DragPictures pictures{document.undo.pixels, picture,
                                Rect{0, 0, picture.width, picture.height},
                                &program_.render.workers};
    showDragStatus(deformDrag(program_.drag.kind, pictures, program_.drag.anchor,
                              DragPoint{p.x, p.y}, program_.drag.screen));
}

void ProgramViewHost::showDragStatus(const DragStatus& status) {
    if (!status.text.empty()) program_.ui.setStatus(status.part, toUtf16(status.text));
    program_.document.changed(kChangedPixels);
}

// One undo step, never merged with an earlier one; the copies come from the picture as it was,
// which the snapshot holds. When the snapshot could not be taken and the user went on, the undo
// picture is an older one, and a copy of the picture stands in for it.
void ProgramViewHost::applyEchord(const EchordSettings& settings) {
    ImageDocument& document = program_.document.state();
    if (!win::storeUndoSnapshot(program_, true, 0)) return;
    const PixelImage& snapshot = document.undo.pixels;
    if (snapshot.width == document.current.pixels.width &&
        snapshot.height == document.current.pixels.height &&
        snapshot.bytes == document.current.pixels.bytes) {
        addEchordCopies(snapshot, document.current, settings, program_.render.seed,
                        &program_.render.workers);
    } else {
        const PixelImage before = document.current.pixels;
        addEchordCopies(before, document.current, settings, program_.render.seed,
                        &program_.render.workers);
    }
    program_.document.changed(kChangedPixels);
}

void ProgramViewHost::brushRefused(const std::string& message) {
    program_.ui.warn(toUtf16(message), L"Lumetra");
}

}  // namespace lumetra::win
