#include "shell/win/message_loop.h"

#include <windows.h>

#include "shell/win/app_state.h"

namespace lumetra::win {

int runMessageLoop() {
    MSG msg;
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return int(msg.wParam);
        if (got == -1) return 0;
        AppState& s = appState();
        if (s.mainWindow && s.accelerators &&
            TranslateAcceleratorW(s.mainWindow, s.accelerators, &msg)) {
            continue;
        }
        if (s.activeToolWindow && IsDialogMessageW(s.activeToolWindow, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace lumetra::win
