#include "shell/win/view_host.h"

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
    if (program_.undo) program_.undo->touchUndoSnapshot(program_.document, operation);
}

PlayMarkerSource ProgramViewHost::playMarker() {
    return playMarkerSource(program_.render);
}

RenderSettings& ProgramViewHost::editedSettings() {
    return program_.document.current.settings;
}

int ProgramViewHost::sampleRate() {
    return program_.settings.sound.sampleRate;
}

int ProgramViewHost::defaultNoiseBandwidth() {
    return program_.settings.renderDefaults.noiseBandwidth;
}

void ProgramViewHost::settingsChanged(RenderSettings& settings) {
    checkNyquistFor(program_, settings.highFrequency);
    prepareImageOscillators(program_, settings);
}

void ProgramViewHost::renderPressed() {
    SetFocus(program_.mainWindow);
    SendMessageW(program_.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_RENDER_IMAGE, 0), 0);
}

}  // namespace lumetra::win
