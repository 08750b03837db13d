#include "shell/win/program_ui.h"

#include "base/win/utf16.h"
#include "shell/win/main_window.h"
#include "shell/win/program.h"
#include "shell/win/status_bar.h"

namespace lumetra::win {

void ProgramUi::setStatusText(int part, const std::string& text) {
    setStatus(part, toUtf16(text));
}

void ProgramUi::showWarning(const std::string& text, const std::string& caption) {
    warn(toUtf16(text), toUtf16(caption));
}

bool ProgramUi::askYesNo(const std::string& text, const std::string& caption) {
    return ask(toUtf16(text), toUtf16(caption));
}

bool ProgramUi::askOkCancel(const std::string& text, const std::string& caption) {
    return showBox(toUtf16(text), toUtf16(caption), MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

void ProgramUi::setStatus(int part, std::wstring_view text) {
    setStatusBarText(program_.statusBar, part, text);
}

std::wstring ProgramUi::status(int part) const {
    return statusBarText(program_.statusBar, part);
}

void ProgramUi::repaintStatus() {
    if (program_.statusBar) UpdateWindow(program_.statusBar);
}

void ProgramUi::warn(std::wstring_view text, std::wstring_view caption) {
    showBox(text, caption, MB_OK | MB_ICONWARNING);
}

bool ProgramUi::ask(std::wstring_view text, std::wstring_view caption) {
    return showBox(text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

int ProgramUi::askYesNoCancel(std::wstring_view text, std::wstring_view caption) {
    return showBox(text, caption, MB_YESNOCANCEL | MB_ICONQUESTION);
}

void ProgramUi::fatalError(std::wstring_view text) {
    showBox(text, L"Fatal error", MB_OK | MB_ICONERROR);
    endProgram(program_);
}

int ProgramUi::showBox(std::wstring_view text, std::wstring_view caption, unsigned style) {
    // A box that comes up during a render leaves the tool windows to the render, which keeps
    // them disabled until it ends: they edit the settings it reads.
    ModalScope modal(program_.tools);
    const std::wstring t(text), c(caption);
    return MessageBoxW(program_.mainWindow, t.c_str(), c.c_str(), style);
}

}  // namespace lumetra::win
