#include "driver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <utility>

#include "resources/resource_ids.h"

namespace e2e {
namespace {

int toInt(const std::wstring& text) {
    try {
        size_t used = 0;
        const int value = std::stoi(text, &used, 0);
        if (used == text.size()) return value;
    } catch (const std::exception&) {
    }
    throw DriverError("not a number: " + toUtf8(text));
}

// The text of a window of another process (WM_GETTEXT is carried across processes).
std::wstring windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, UINT(gTimeoutMs),
                             &length)) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, UINT(gTimeoutMs), &copied);
    text.resize(copied);
    return text;
}

struct TopWindow {
    HWND window;
    std::wstring className;
    std::wstring caption;
    RECT rect;
};

// The visible top-level windows of a process (of every process for 0), in z-order (topmost first).
std::vector<TopWindow> visibleWindows(DWORD processId) {
    std::pair<DWORD, std::vector<TopWindow>> found{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* found = reinterpret_cast<std::pair<DWORD, std::vector<TopWindow>>*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if ((found->first && owner != found->first) || !IsWindowVisible(window)) return TRUE;
            wchar_t name[256] = {};
            GetClassNameW(window, name, 256);
            TopWindow entry{window, name, windowText(window), {}};
            GetWindowRect(window, &entry.rect);
            found->second.push_back(entry);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.second;
}

// A visible dialog (class "#32770") of the process with exactly this caption, or null; a
// message box is a dialog with its text in a static control of id 0xFFFF.
HWND findDialog(DWORD processId, const std::wstring& caption, bool messageBox = false) {
    for (const TopWindow& entry : visibleWindows(processId)) {
        if (entry.className == L"#32770" &&
            (messageBox ? GetDlgItem(entry.window, 0xFFFF) != nullptr : entry.caption == caption))
            return entry.window;
    }
    return nullptr;
}

// A visible message box's "caption|text", or empty.
std::wstring messageBoxText(DWORD processId) {
    HWND box = findDialog(processId, L"", true);
    return box ? windowText(box) + L"|" + windowText(GetDlgItem(box, 0xFFFF)) : L"";
}

LRESULT sendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, UINT(gTimeoutMs),
                             &result)) {
        throwLastError("SendMessageTimeout(" + std::to_string(message) + ")");
    }
    return LRESULT(result);
}

// Memory inside the program's process, for messages that pass a pointer (SB_GETTEXT,
// BFFM_SETSELECTION, TCM_GETITEM): a pointer into the driver's memory means nothing there.
class RemoteBuffer {
  public:
    RemoteBuffer(DWORD processId, size_t bytes)
        : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               processId)),
          size_(bytes) {
        if (!process_) throwLastError("OpenProcess");
        address_ = VirtualAllocEx(process_.get(), nullptr, bytes, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
        if (!address_) throwLastError("VirtualAllocEx");
    }
    ~RemoteBuffer() { VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* address() const { return address_; }
    std::vector<unsigned char> read() const {
        std::vector<unsigned char> out(size_);
        SIZE_T done = 0;
        if (!ReadProcessMemory(process_.get(), address_, out.data(), size_, &done) || done != size_)
            throwLastError("ReadProcessMemory");
        return out;
    }
    void write(const void* data, size_t bytes) {
        SIZE_T done = 0;
        if (bytes > size_ || !WriteProcessMemory(process_.get(), address_, data, bytes, &done) ||
            done != bytes)
            throwLastError("WriteProcessMemory");
    }

  private:
    lumetra::win::UniqueKernelHandle process_;
    void* address_ = nullptr;
    size_t size_ = 0;
};

// Polls `done` every 50 ms until it holds or the run's timeout passes; `state` describes what was
// last seen, for the failure message.
void waitUntil(const std::function<bool(std::string& state)>& done, const std::string& what) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(gTimeoutMs);
    std::string state;
    while (!done(state)) {
        if (GetTickCount64() > end)
            throw DriverError("timeout waiting for " + what + "; last seen: " + state);
        Sleep(50);
    }
}

// Reads a text until it is `wanted` (with `prefix`: until it starts with it); returns the text.
std::wstring waitText(const std::function<std::wstring()>& read, const std::wstring& wanted,
                      bool prefix, const std::string& what) {
    std::wstring text;
    waitUntil(
        [&](std::string& state) {
            text = read();
            state = "\"" + toUtf8(text) + "\"";
            return prefix ? text.rfind(wanted, 0) == 0 : text == wanted;
        },
        what + (prefix ? " to start with \"" : " to read \"") + toUtf8(wanted) + "\"");
    return text;
}

// Waits until the dialog with this caption is there (or, with `gone`, is not); returns it.
HWND waitDialog(Session& session, const std::wstring& caption, bool gone = false) {
    HWND dialog = nullptr;
    waitUntil(
        [&](std::string& state) {
            dialog = findDialog(session.processId(), caption);
            state = dialog ? "present" : "absent";
            return (dialog != nullptr) != gone;
        },
        "dialog \"" + toUtf8(caption) + (gone ? "\" to close" : "\""));
    return dialog;
}

HWND dialogItem(Session& session, const Args& a) {
    HWND item = GetDlgItem(waitDialog(session, a[0]), toInt(a[1]));
    if (!item) throw DriverError("dialog \"" + toUtf8(a[0]) + "\" has no item " + toUtf8(a[1]));
    return item;
}

std::string rectText(const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
}

// SB_GETTEXT writes through its pointer, so the buffer must live in the program's process.
std::wstring statusText(Session& session, int part) {
    HWND bar = GetDlgItem(session.main(), IDW_STATUSBAR);
    if (!bar) throw DriverError("the main window has no status bar");
    const LRESULT length = sendWithTimeout(bar, SB_GETTEXTLENGTHW, WPARAM(part), 0);
    const size_t chars = LOWORD(length) + 1;
    RemoteBuffer buffer(session.processId(), chars * sizeof(wchar_t));
    sendWithTimeout(bar, SB_GETTEXTW, WPARAM(part), reinterpret_cast<LPARAM>(buffer.address()));
    const std::vector<unsigned char> bytes = buffer.read();
    const auto* text = reinterpret_cast<const wchar_t*>(bytes.data());
    return std::wstring(text, wcsnlen(text, chars));
}

// Keys go to the active window: a click that activates another one must have been taken in
// before the next key is sent.
std::string waitActive(Session& session, const Args& a) {
    const HWND main = session.main();
    waitUntil(
        [&](std::string& state) {
            const HWND active = GetForegroundWindow();
            const std::wstring caption = active ? windowText(active) : L"";
            state = active == main ? "the main window" : "\"" + toUtf8(caption) + "\"";
            return a[0] == L"LumetraWin" ? active == main : active && caption == a[0];
        },
        "the active window to be \"" + toUtf8(a[0]) + "\"");
    return {};
}

std::string waitIdle(Session& session, const Args&) {
    const DWORD result = WaitForInputIdle(session.process(), DWORD(gTimeoutMs));
    if (result == WAIT_FAILED) throwLastError("WaitForInputIdle");
    if (result != 0) throw DriverError("the program did not come to wait for input in time");
    return {};
}

// What a click on a menu item sends.
std::string postCommand(Session& session, const Args& a) {
    if (!PostMessageW(session.main(), WM_COMMAND, MAKEWPARAM(toInt(a[0]), 0), 0))
        throwLastError("PostMessage(WM_COMMAND)");
    return {};
}

std::string waitStatus(Session& session, const Args& a, bool prefix) {
    const std::wstring text = waitText([&] { return statusText(session, toInt(a[0])); }, a[1],
                                       prefix, "status part " + toUtf8(a[0]));
    return prefix ? toUtf8(text) : std::string();
}

std::string windows(DWORD processId) {
    std::string out;
    for (const TopWindow& entry : visibleWindows(processId)) {
        out += (out.empty() ? "" : "\n") + toUtf8(entry.className) + "|" + toUtf8(entry.caption) +
               "|" + rectText(entry.rect);
    }
    return out;
}

std::string waitMessageBox(Session& session, const Args&) {
    std::wstring text;
    waitUntil(
        [&](std::string& state) {
            text = messageBoxText(session.processId());
            state = text.empty() ? "none" : toUtf8(text);
            return !text.empty();
        },
        "a message box");
    return toUtf8(text);
}

std::string canvasOrigin(Session& session, const Args&) {
    HWND canvas = FindWindowExW(session.main(), nullptr, L"LumetraImage", nullptr);
    if (!canvas) throw DriverError("no canvas window");
    POINT origin{0, 0};
    ClientToScreen(canvas, &origin);
    RECT client{};
    GetClientRect(canvas, &client);
    return rectText({origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
}

// The texts of a tab control's tabs, one a line: TCM_GETITEM writes through pointers, so the
// item record and its text buffer live in the program's process.
std::string tabNames(Session& session, const Args& a) {
    HWND tabs = dialogItem(session, a);
    const LRESULT count = sendWithTimeout(tabs, TCM_GETITEMCOUNT, 0, 0);
    constexpr size_t kChars = 260;
    RemoteBuffer remote(session.processId(), sizeof(TCITEMW) + kChars * sizeof(wchar_t));
    std::string out;
    for (LRESULT i = 0; i < count; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText =
            reinterpret_cast<wchar_t*>(static_cast<char*>(remote.address()) + sizeof(TCITEMW));
        item.cchTextMax = int(kChars);
        remote.write(&item, sizeof item);
        sendWithTimeout(tabs, TCM_GETITEMW, WPARAM(i), reinterpret_cast<LPARAM>(remote.address()));
        const std::vector<unsigned char> bytes = remote.read();
        const auto* chars = reinterpret_cast<const wchar_t*>(bytes.data() + sizeof(TCITEMW));
        out += (i ? "\n" : "") + toUtf8(std::wstring(chars, wcsnlen(chars, kChars)));
    }
    return out;
}

// Selects a folder in the system's folder browser as a click in its tree would, until the
// browser's status line has read SHOWN for a moment. Wine's tree drops a selection made before it
// has settled, so the selection is sent again until it holds; its text lives in the program.
std::string browseTo(Session& session, const Args& a) {
    HWND dialog = waitDialog(session, a[0]);
    HWND line = dialogItem(session, {a[0], L"14147"});
    RemoteBuffer text(session.processId(), (a[1].size() + 1) * sizeof(wchar_t));
    text.write(a[1].c_str(), (a[1].size() + 1) * sizeof(wchar_t));
    ULONGLONG sent = 0, heldSince = 0;
    waitUntil(
        [&](std::string& state) {
            const ULONGLONG now = GetTickCount64();
            const std::wstring shown = windowText(line);
            state = "status line \"" + toUtf8(shown) + "\"";
            if (sent && shown == a[2]) {
                if (!heldSince) heldSince = now;
                return now - heldSince >= 300;
            }
            heldSince = 0;
            if (now - sent >= 500) {
                sendWithTimeout(dialog, BFFM_SETSELECTIONW, TRUE, LPARAM(text.address()));
                sent = now;
            }
            return false;
        },
        "\"" + toUtf8(a[0]) + "\" to show \"" + toUtf8(a[2]) + "\" after selecting " +
            toUtf8(a[1]));
    return {};
}

// The 8.3 form of an existing path, which a user can type where the long one does not fit a
// file dialog (beyond MAX_PATH) or cannot be typed (outside ASCII).
std::string shortPath(Session&, const Args& a) {
    const std::wstring path = a[0].size() < MAX_PATH ? a[0] : L"\\\\?\\" + a[0];
    std::wstring result(32768, L'\0');
    const DWORD n = GetShortPathNameW(path.c_str(), result.data(), DWORD(result.size()));
    if (n == 0 || n >= result.size()) throwLastError("GetShortPathName");
    result.resize(n);
    if (result.rfind(L"\\\\?\\", 0) == 0) result.erase(0, 4);
    return toUtf8(result);
}

// Presses a button of a message box as a click would (IDYES 6, IDNO 7, IDCANCEL 2).
void pressBoxButton(HWND box, int id) {
    if (!GetDlgItem(box, id))
        throw DriverError("the message box has no button " + std::to_string(id));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(box, id)));
}

std::string answerBox(Session& session, const Args& a) {
    waitMessageBox(session, a);
    pressBoxButton(findDialog(session.processId(), L"", true), toInt(a[0]));
    return {};
}

// The close box on a picture whose changes are to be dropped: a "Save changes to" question on
// the way is answered No; any other box stays and is named if the wait fails.
std::string closeWithoutSaving(Session& session, const Args&) {
    if (!PostMessageW(session.main(), WM_CLOSE, 0, 0)) throwLastError("PostMessage(WM_CLOSE)");
    DWORD code = 0;
    waitUntil(
        [&](std::string& state) {
            if (WaitForSingleObject(session.process(), 0) == WAIT_OBJECT_0)
                return GetExitCodeProcess(session.process(), &code) != FALSE;
            const std::wstring text = messageBoxText(session.processId());
            state = text.empty() ? "running, no message box" : "box " + toUtf8(text);
            if (text.find(L"|Save changes to ") != std::wstring::npos)
                pressBoxButton(findDialog(session.processId(), L"", true), IDNO);
            return false;
        },
        "the program to end");
    return std::to_string(code);
}

}  // namespace

const std::vector<Command>& commandTable() {
    static const std::vector<Command> table = {
        {"wait-window", 0, "", [](Session& s, const Args&) { return s.main(), std::string(); }},
        {"wait-idle", 0, "(until the program waits for input)", waitIdle},
        {"wait-active", 1, "CAPTION (LumetraWin: the main window)", waitActive},
        {"command", 1, "ID (WM_COMMAND, as a menu click)", postCommand},
        {"status", 1, "PART",
         [](Session& s, const Args& a) { return toUtf8(statusText(s, toInt(a[0]))); }},
        {"wait-status", 2, "PART TEXT",
         [](Session& s, const Args& a) { return waitStatus(s, a, false); }},
        {"wait-status-prefix", 2, "PART PREFIX (prints the text)",
         [](Session& s, const Args& a) { return waitStatus(s, a, true); }},
        {"title", 0, "", [](Session& s, const Args&) { return toUtf8(windowText(s.main())); }},
        {"wait-title", 1, "TEXT",
         [](Session& s, const Args& a) {
             waitText([&] { return windowText(s.main()); }, a[0], false, "the title");
             return std::string();
         }},
        {"windows", 0, "(class|caption|x y w h, one a line)",
         [](Session& s, const Args&) { return windows(s.processId()); }},
        {"all-windows", 0, "(the same of every process)",
         [](Session&, const Args&) { return windows(0); }},
        {"wait-dialog", 1, "CAPTION",
         [](Session& s, const Args& a) { return waitDialog(s, a[0]), std::string(); }},
        {"wait-no-dialog", 1, "CAPTION",
         [](Session& s, const Args& a) { return waitDialog(s, a[0], true), std::string(); }},
        {"dialog-text", 2, "CAPTION ID",
         [](Session& s, const Args& a) { return toUtf8(windowText(dialogItem(s, a))); }},
        {"item-rect", 2, "CAPTION ID (x y w h on the screen)",
         [](Session& s, const Args& a) {
             RECT r{};
             GetWindowRect(dialogItem(s, a), &r);
             return rectText(r);
         }},
        {"item-enabled", 2, "CAPTION ID (1 or 0)",
         [](Session& s, const Args& a) {
             return std::string(IsWindowEnabled(dialogItem(s, a)) ? "1" : "0");
         }},
        {"message-box", 0, "(caption|text, or nothing)",
         [](Session& s, const Args&) { return toUtf8(messageBoxText(s.processId())); }},
        {"wait-message-box", 0, "(prints caption|text)", waitMessageBox},
        {"canvas-origin", 0, "(client origin on the screen and size: x y w h)", canvasOrigin},
        {"tab-names", 2, "CAPTION ID", tabNames},
        {"browse-to", 3, "CAPTION PATH SHOWN", browseTo},
        {"short-path", 1, "PATH", shortPath},
        {"close-unsaved", 0, "(prints the exit code)", closeWithoutSaving},
        {"answer-box", 1, "ID (6 Yes, 7 No, 2 Cancel)", answerBox},
        {"clipboard-put-32", 3, "W H BGRA_FILE", clipboardPut32},
        {"clipboard-save-bitmap", 1, "BGRA_FILE (prints WxH)", clipboardSaveBitmap},
    };
    return table;
}

}  // namespace e2e
