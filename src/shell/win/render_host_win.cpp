#include "shell/win/render_host_win.h"

#include <windows.h>

#include "base/win/utf16.h"
#include "shell/win/file_dialogs.h"
#include "shell/win/program.h"

namespace lumetra::win {

void WinRenderHost::updateStatusBar() {
    program_.ui.repaintStatus();
}

void WinRenderHost::pumpOneMessage() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return;
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MBUTTONDBLCLK) return;
    if (msg.message == WM_QUIT) {
        PostQuitMessage(int(msg.wParam));
        return;
    }
    DispatchMessageW(&msg);
    if (msg.message == WM_PAINT && msg.hwnd) UpdateWindow(msg.hwnd);
}

bool WinRenderHost::isEscapeHeld() {
    return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

std::optional<std::filesystem::path> WinRenderHost::askSaveSoundPath(
    const std::string& suggestedName) {
    auto chosen = askForFile(program_, FileDialogKind::SaveSound,
                             program_.settings.folders.soundfileFolder, toUtf16(suggestedName));
    if (!chosen) return std::nullopt;
    return chosen->path;
}

}  // namespace lumetra::win
