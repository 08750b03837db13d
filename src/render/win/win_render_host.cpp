#include "render/win/win_render_host.h"

#include <windows.h>

#include <cerrno>
#include <cstring>

#include "render/win/render_flow.h"
#include "shell/win/app_state.h"
#include "shell/win/file_dialogs.h"
#include "shell/win/message_boxes.h"
#include "shell/win/status_bar.h"
#include "base/win/text.h"
#include "base/win/utf16.h"

namespace lumetra::win {

void WinRenderHost::setStatusText(int part, const std::string& text) {
    lumetra::win::setStatusText(part, toUtf16(text));
}

void WinRenderHost::updateStatusBar() {
    lumetra::win::updateStatusBar();
}

void WinRenderHost::pumpOneMessage() {
    lumetra::win::pumpOneMessage();
}

bool WinRenderHost::isEscapeHeld() {
    return escapeHeld();
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
    lumetra::win::showWarning(toUtf16(text), toUtf16(caption));
}

bool WinRenderHost::askYesNo(const std::string& text, const std::string& caption) {
    return lumetra::win::askYesNo(toUtf16(text), toUtf16(caption));
}

std::optional<std::filesystem::path> WinRenderHost::askSaveSoundPath(
    const std::string& suggestedName) {
    const AppState& s = appState();
    auto chosen = askForFile(s.mainWindow, FileDialogKind::SaveSound, s.folders.soundfileFolder,
                             toUtf16(suggestedName));
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

WinRenderHost& renderHost() {
    static WinRenderHost host;
    return host;
}

}  // namespace lumetra::win
