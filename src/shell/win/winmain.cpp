// The program's entry point: start-up in its fixed order, then the message loop.

#include <windows.h>

#include <ole2.h>

#include "shell/win/app_state.h"
#include "shell/win/ids.h"
#include "shell/win/main_window.h"
#include "shell/win/message_boxes.h"
#include "base/win/message_handler.h"
#include "shell/win/message_loop.h"
#include "shell/win/settings.h"
#include "base/win/text.h"
#include "base/win/utf16.h"
#include "shell/win/window_title.h"

namespace {

void reportAtBoundary(const char* what) {
    lumetra::win::showWarning(lumetra::win::toUtf16(what));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace lumetra::win;
    AppState& s = appState();
    s.instance = instance;
    setBoundaryReporter(reportAtBoundary);
    if (!registerWindowClasses(instance)) return 0;
    s.startTitle = startTitle();
    loadSettings();

    // The picture loader and the file dialogs need OLE on this thread.
    const HRESULT ole = OleInitialize(nullptr);
    HWND main = createMainWindow(instance);
    int code = 0;
    if (main) {
        attachMainMenu(main, instance);
        s.accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
        ShowWindow(main, s.layout.mainShow);
        UpdateWindow(main);
        code = runMessageLoop();
    }
    if (SUCCEEDED(ole)) OleUninitialize();
    return code;
}
