#include "base/win/message_loop.h"

#include <cwchar>
#include <iterator>

namespace lumetra::win {
namespace {

enum class Focused { Other, EditField, Button };

// Edit fields include those inside combo boxes; buttons include check boxes and radio buttons.
Focused focusedKind(HWND window) {
    wchar_t name[16] = {};
    if (!window || !GetClassNameW(window, name, int(std::size(name)))) return Focused::Other;
    if (_wcsicmp(name, L"Edit") == 0) return Focused::EditField;
    if (_wcsicmp(name, L"Button") == 0) return Focused::Button;
    return Focused::Other;
}

}  // namespace

bool acceleratorsMaySee(const MSG& msg, bool controlHeld) {
    // Alt is held for every WM_SYSKEYDOWN; characters never match our virtual-key table.
    if (msg.message != WM_KEYDOWN) return true;
    if (controlHeld || (msg.wParam >= VK_F1 && msg.wParam <= VK_F24)) return true;
    return focusedKind(msg.hwnd) == Focused::Other;
}

bool translateProgramKey(HWND mainWindow, HACCEL accelerators, MSG& msg) {
    return mainWindow && accelerators && acceleratorsMaySee(msg, GetKeyState(VK_CONTROL) < 0) &&
           TranslateAcceleratorW(mainWindow, accelerators, &msg);
}

int runMessageLoop(const HWND& mainWindow, HACCEL accelerators, const HWND& activeToolWindow) {
    MSG msg;
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return int(msg.wParam);
        if (got == -1) return 0;
        if (translateProgramKey(mainWindow, accelerators, msg)) continue;
        if (activeToolWindow && IsDialogMessageW(activeToolWindow, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace lumetra::win
