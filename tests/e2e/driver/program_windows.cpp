#include "program_windows.h"

#include "driver_error.h"
#include "text_utf8.h"

namespace e2e {

int gTimeoutMs = 10000;
bool gAcceptHiddenMain = false;

MainWindow findMainWindow() {
    HWND window = FindWindowW(L"LumetraWin", nullptr);
    if (!window || (!gAcceptHiddenMain && !IsWindowVisible(window))) return {};
    MainWindow main;
    main.window = window;
    GetWindowThreadProcessId(window, &main.processId);
    return main;
}

MainWindow requireMainWindow() {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(gTimeoutMs);
    for (;;) {
        MainWindow main = findMainWindow();
        if (main.window) return main;
        if (GetTickCount64() > end) throw DriverError("no visible window of class LumetraWin");
        Sleep(50);
    }
}

namespace {

struct EnumContext {
    DWORD processId;
    std::vector<TopWindow>* out;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM param) {
    auto* context = reinterpret_cast<EnumContext*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != context->processId || !IsWindowVisible(window)) return TRUE;
    TopWindow entry{window, {}, {}, {}};
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    entry.className = name;
    entry.caption = windowText(window);
    GetWindowRect(window, &entry.rect);
    context->out->push_back(entry);
    return TRUE;
}

}  // namespace

std::vector<TopWindow> visibleWindows(DWORD processId) {
    std::vector<TopWindow> out;
    EnumContext context{processId, &out};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&context));
    return out;
}

HWND findDialog(DWORD processId, const std::wstring& caption) {
    for (const TopWindow& entry : visibleWindows(processId)) {
        if (entry.className == L"#32770" && entry.caption == caption) return entry.window;
    }
    return nullptr;
}

std::wstring windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                             static_cast<UINT>(gTimeoutMs), &length)) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, static_cast<UINT>(gTimeoutMs), &copied);
    text.resize(copied);
    return text;
}

LRESULT sendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                             static_cast<UINT>(gTimeoutMs), &result)) {
        throwLastError("SendMessageTimeout(" + std::to_string(message) + ")");
    }
    return static_cast<LRESULT>(result);
}

}  // namespace e2e
