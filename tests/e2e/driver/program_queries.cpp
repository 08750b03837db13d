#include "program_queries.h"

#include <commctrl.h>

#include "driver_error.h"
#include "remote_buffer.h"
#include "resources/resource_ids.h"

namespace e2e {

// SB_GETTEXT writes through its pointer, so the buffer must live in the program's process.
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

std::wstring messageBoxText(DWORD processId) {
    for (const TopWindow& entry : visibleWindows(processId)) {
        if (entry.className != L"#32770") continue;
        // Message boxes carry their text in a static control with id 0xFFFF.
        HWND text = GetDlgItem(entry.window, 0xFFFF);
        if (text) return entry.caption + L"|" + windowText(text);
    }
    return {};
}

}  // namespace e2e
