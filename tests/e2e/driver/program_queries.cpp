#include "program_queries.h"

#include <commctrl.h>

#include <algorithm>

#include "driver_error.h"
#include "protocol.h"
#include "remote_buffer.h"
#include "resources/resource_ids.h"
#include "text_utf8.h"

namespace e2e {

std::wstring statusText(const MainWindow& main, int part) {
    HWND bar = GetDlgItem(main.window, IDW_STATUSBAR);
    if (!bar) throw DriverError("the main window has no status bar");
    const LRESULT length = sendWithTimeout(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
    const size_t chars = LOWORD(length) + 1;
    RemoteBuffer buffer(main.processId, chars * sizeof(wchar_t));
    sendWithTimeout(bar, SB_GETTEXTW, static_cast<WPARAM>(part),
                    reinterpret_cast<LPARAM>(buffer.address()));
    const std::vector<unsigned char> bytes = buffer.read();
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), chars);
    text.resize(text.find(L'\0') == std::wstring::npos ? chars : text.find(L'\0'));
    return text;
}

std::string menuState(const MainWindow& main, int commandId) {
    const auto state = static_cast<UINT>(
        sendWithTimeout(main.window, protocol::kQueryMenuState, static_cast<WPARAM>(commandId), 0));
    if (state == 0xFFFFFFFFu) return "missing";
    std::string out = (state & MF_GRAYED)     ? "grayed"
                      : (state & MF_DISABLED) ? "disabled"
                                              : "enabled";
    if (state & MF_CHECKED) out += " checked";
    return out;
}

long long documentValue(const MainWindow& main, const std::string& name) {
    const auto query = protocol::documentQueryByName(name);
    if (!query) throw DriverError("unknown document query: " + name);
    return static_cast<long long>(
        sendWithTimeout(main.window, protocol::kQueryDocument, *query, 0));
}

std::wstring messageBoxText(DWORD processId) {
    for (const TopWindow& entry : visibleWindows(processId)) {
        if (entry.className != L"#32770") continue;
        // Message boxes carry their text in a static control with id 0xFFFF.
        HWND text = GetDlgItem(entry.window, 0xFFFF);
        if (text) return entry.caption + L"|" + windowText(text);
    }
    return {};
}

std::wstring documentText(const MainWindow& main, const std::string& name) {
    const auto which = protocol::documentTextByName(name);
    if (!which) throw DriverError("unknown document text: " + name);
    RemoteBuffer buffer(main.processId, protocol::kTextBufferChars * sizeof(wchar_t));
    const LRESULT length = sendWithTimeout(main.window, protocol::kQueryDocumentText, *which,
                                           reinterpret_cast<LPARAM>(buffer.address()));
    if (length < 0) throw DriverError("the program does not know the text " + name);
    const std::vector<unsigned char> bytes = buffer.read();
    const auto* chars = reinterpret_cast<const wchar_t*>(bytes.data());
    return std::wstring(chars,
                        static_cast<size_t>(std::min<LRESULT>(length, protocol::kTextBufferChars)));
}

void transferPath(const MainWindow& main, ULONG_PTR kind, const std::wstring& path) {
    // The program takes the request at once and carries it out afterwards, so that a warning box
    // it may show does not hold this call; the outcome is polled.
    std::wstring text = path;
    COPYDATASTRUCT data{};
    data.dwData = kind;
    data.cbData = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    data.lpData = text.data();
    if (!sendWithTimeout(main.window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data))) {
        throw DriverError("the program did not take the request for " + toUtf8(path));
    }
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(gTimeoutMs);
    for (;;) {
        const LRESULT result =
            sendWithTimeout(main.window, protocol::kQueryDocument, protocol::kLastRequestResult, 0);
        if (result == 1) return;
        const std::wstring box = messageBoxText(main.processId);
        if (!box.empty()) throw DriverError("message box: " + toUtf8(box));
        if (result == 0) throw DriverError("the program could not do it for " + toUtf8(path));
        if (GetTickCount64() > end) throw DriverError("no outcome for " + toUtf8(path));
        Sleep(20);
    }
}

}  // namespace e2e
