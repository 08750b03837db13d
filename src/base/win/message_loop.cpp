#include "base/win/message_loop.h"

namespace lumetra::win {

int runMessageLoop(const HWND& mainWindow, HACCEL accelerators, const HWND& activeToolWindow) {
    MSG msg;
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return int(msg.wParam);
        if (got == -1) return 0;
        if (mainWindow && accelerators && TranslateAcceleratorW(mainWindow, accelerators, &msg)) {
            continue;
        }
        if (activeToolWindow && IsDialogMessageW(activeToolWindow, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace lumetra::win
