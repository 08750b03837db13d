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
    TopWindow entry{window, {}, windowText(window), {}};
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    entry.className = name;
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
    return box ? windowText(box) + L"|" + windowText(GetDlgItem(box, 0xFFFF)) : L"";
}

RemoteBuffer::RemoteBuffer(DWORD processId, size_t bytes)
    : process_(
          OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)),
      size_(bytes) {
    if (!process_) throwLastError("OpenProcess");
    address_ =
        VirtualAllocEx(process_.get(), nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_) throwLastError("VirtualAllocEx");
}

std::vector<unsigned char> RemoteBuffer::read() const {
    std::vector<unsigned char> out(size_);
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_.get(), address_, out.data(), size_, &done) || done != size_) {
        throwLastError("ReadProcessMemory");
    }
    return out;
}

void RemoteBuffer::write(const void* data, size_t bytes) {
    SIZE_T done = 0;
    if (bytes > size_ || !WriteProcessMemory(process_.get(), address_, data, bytes, &done) ||
        done != bytes) {
        throwLastError("WriteProcessMemory");
    }
}

HWND Session::main() {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(gTimeoutMs);
    while (!main_) {
        HWND window = FindWindowW(L"LumetraWin", nullptr);
        if (window && (gAcceptHiddenMain || IsWindowVisible(window))) {
            main_ = window;
            GetWindowThreadProcessId(window, &processId_);
            process_.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId_));
            if (!process_) throwLastError("OpenProcess");
        } else if (GetTickCount64() > end) {
            throw DriverError("no visible window of class LumetraWin");
        } else {
            Sleep(50);
        }
    }
    return main_;
}

}  // namespace e2e
