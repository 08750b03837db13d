// The program's entry point: start-up in its fixed order, then the message loop.

#include <windows.h>

#include <ole2.h>

#include "base/win/message_loop.h"
#include "shell/win/main_window.h"
#include "shell/win/program.h"
#include "shell/win/settings_pass.h"
#include "shell/win/window_title.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace lumetra::win;
    if (!registerWindowClasses(instance)) return 0;
    Program program(instance);
    program.startTitle = startTitle();
    loadSettings(program);

    // The picture loader and the file dialogs need OLE on this thread.
    const HRESULT ole = OleInitialize(nullptr);
    MainWindow mainWindow(program);
    int code = 0;
    if (HWND main = mainWindow.create()) {
        attachMainMenu(program);
        program.accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
        ShowWindow(main, program.settings.layout.mainShow);
        UpdateWindow(main);
        code = runMessageLoop(program.mainWindow, program.accelerators, program.tools.active);
    }
    if (SUCCEEDED(ole)) OleUninitialize();
    return code;
}
