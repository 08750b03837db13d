#include "shell/win/render_host_win.h"

#include <windows.h>

#include <cerrno>
#include <cstring>

#include "base/win/text.h"
#include "base/win/utf16.h"
#include "shell/win/file_dialogs.h"
#include "shell/win/program.h"

namespace lumetra::win {

void WinRenderHost::setStatusText(int part, const std::string& text) {
    program_.ui.setStatusText(part, text);
}

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

std::uint32_t WinRenderHost::tickCount() {
    return GetTickCount();
}

LocalTime WinRenderHost::localTime() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return LocalTime{t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
                     t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
}

void WinRenderHost::showWarning(const std::string& text, const std::string& caption) {
    program_.ui.showWarning(text, caption);
}

bool WinRenderHost::askYesNo(const std::string& text, const std::string& caption) {
    return program_.ui.askYesNo(text, caption);
}

std::optional<std::filesystem::path> WinRenderHost::askSaveSoundPath(
    const std::string& suggestedName) {
    auto chosen =
        askForFile(program_, FileDialogKind::SaveSound,
                   pathFromUtf8(program_.settings.folders.soundfileFolder), toUtf16(suggestedName));
    if (!chosen) return std::nullopt;
    return chosen->path;
}

SystemError WinRenderHost::lastSystemError() {
    // The C library's file calls leave errno; the system's own code is more precise when set.
    DWORD code = GetLastError();
    if (code != 0) return SystemError{int(code), toUtf8(systemErrorText(code))};
    int error = errno;
    return SystemError{error, std::strerror(error)};
}

}  // namespace lumetra::win
