#include "driver.h"

#include <iterator>

namespace e2e {

int gTimeoutMs = 10000;
bool gAcceptHiddenMain = false;

void throwLastError(const std::string& what) {
    const DWORD code = GetLastError();
    wchar_t text[400] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, static_cast<DWORD>(std::size(text)), nullptr);
    std::wstring message = text;
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
        message.pop_back();
    }
    throw DriverError(what + ": Error " + std::to_string(code) + ": " + toUtf8(message));
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

HWND findMessageBox(DWORD processId) {
    for (const TopWindow& entry : visibleWindows(processId)) {
        // Message boxes carry their text in a static control with id 0xFFFF.
        if (entry.className == L"#32770" && GetDlgItem(entry.window, 0xFFFF)) return entry.window;
    }
    return nullptr;
}

std::wstring messageBoxText(DWORD processId) {
    HWND box = findMessageBox(processId);
    if (!box) return {};
    return windowText(box) + L"|" + windowText(GetDlgItem(box, 0xFFFF));
}

RemoteBuffer::RemoteBuffer(DWORD processId, size_t bytes) : size_(bytes) {
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process_) throwLastError("OpenProcess");
    address_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_) {
        CloseHandle(process_);
        throwLastError("VirtualAllocEx");
    }
}

RemoteBuffer::~RemoteBuffer() {
    VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    CloseHandle(process_);
}

std::vector<unsigned char> RemoteBuffer::read() const {
    std::vector<unsigned char> out(size_);
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_, address_, out.data(), size_, &done) || done != size_) {
        throwLastError("ReadProcessMemory");
    }
    return out;
}

void RemoteBuffer::write(const void* data, size_t bytes) {
    SIZE_T done = 0;
    if (bytes > size_ || !WriteProcessMemory(process_, address_, data, bytes, &done) ||
        done != bytes) {
        throwLastError("WriteProcessMemory");
    }
}

Session::~Session() {
    if (process_) CloseHandle(process_);
}

const MainWindow& Session::main() {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(gTimeoutMs);
    while (!main_.window) {
        HWND window = FindWindowW(L"LumetraWin", nullptr);
        if (window && (gAcceptHiddenMain || IsWindowVisible(window))) {
            main_.window = window;
            GetWindowThreadProcessId(window, &main_.processId);
            process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, main_.processId);
            if (!process_) throwLastError("OpenProcess");
        } else if (GetTickCount64() > end) {
            throw DriverError("no visible window of class LumetraWin");
        } else {
            Sleep(50);
        }
    }
    return main_;
}

bool Session::hasEnded(DWORD& code) {
    main();
    if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) return false;
    if (!GetExitCodeProcess(process_, &code)) throwLastError("GetExitCodeProcess");
    return true;
}

void Session::waitForIdle() {
    main();
    const DWORD result = WaitForInputIdle(process_, static_cast<DWORD>(gTimeoutMs));
    if (result == WAIT_FAILED) throwLastError("WaitForInputIdle");
    if (result != 0) throw DriverError("the program did not come to wait for input in time");
}

}  // namespace e2e
