#include "program_queries.h"

#include <commctrl.h>

#include <atomic>
#include <memory>
#include <thread>

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

void transferPath(const MainWindow& main, ULONG_PTR kind, const std::wstring& path) {
    // The program answers only after opening or saving; if it shows a message box meanwhile, the
    // call would wait for a user. So the call runs on a worker thread while this one watches.
    struct Shared {
        std::wstring text;
        std::atomic<bool> done{false};
        std::atomic<bool> ok{false};
    };
    auto shared = std::make_shared<Shared>();
    shared->text = path;
    const HWND window = main.window;
    std::thread worker([shared, window, kind] {
        COPYDATASTRUCT data{};
        data.dwData = kind;
        data.cbData = static_cast<DWORD>((shared->text.size() + 1) * sizeof(wchar_t));
        data.lpData = shared->text.data();
        DWORD_PTR result = 0;
        const bool sent =
            SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                SMTO_NORMAL, 120000, &result) != 0;
        shared->ok = sent && result != 0;
        shared->done = true;
    });
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(gTimeoutMs);
    while (!shared->done) {
        const std::wstring box = messageBoxText(main.processId);
        if (!box.empty()) {
            worker.detach();
            throw DriverError("message box: " + toUtf8(box));
        }
        if (GetTickCount64() > end) {
            worker.detach();
            throw DriverError("no answer to WM_COPYDATA");
        }
        Sleep(20);
    }
    worker.join();
    if (!shared->ok) throw DriverError("the program refused " + toUtf8(path));
}

}  // namespace e2e
