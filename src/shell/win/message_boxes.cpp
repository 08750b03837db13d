#include "shell/win/message_boxes.h"

#include <windows.h>

#include <string>

#include "shell/win/app_state.h"
#include "shell/win/main_window.h"
#include "shell/win/tool_windows.h"

namespace lumetra::win {
namespace {

int showBox(std::wstring_view text, std::wstring_view title, UINT style) {
    std::wstring t(text), c(title);
    enableToolWindows(false);
    int answer = MessageBoxW(appState().mainWindow, t.c_str(), c.c_str(), style);
    // A box that comes up during a render leaves the tool windows to the render, which keeps
    // them disabled until it ends: they edit the settings it reads.
    if (!appState().renderRunning) enableToolWindows(true);
    return answer;
}

}  // namespace

bool askYesNo(std::wstring_view text, std::wstring_view title) {
    return showBox(text, title, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void showWarning(std::wstring_view text, std::wstring_view title) {
    showBox(text, title, MB_OK | MB_ICONWARNING);
}

void showFatalError(std::wstring_view text) {
    showBox(text, L"Fatal error", MB_OK | MB_ICONERROR);
    endProgram();
}

}  // namespace lumetra::win
