#include "driver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <functional>

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

// Polls `done` every 50 ms until it holds or the run's timeout passes; `state` describes what was
// last seen, for the failure message.
void waitUntil(const std::function<bool(std::string& state)>& done, const std::string& what) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(gTimeoutMs);
    std::string state;
    for (;;) {
        if (done(state)) return;
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

HWND requireDialog(Session& session, const std::wstring& caption) {
    HWND dialog = nullptr;
    waitUntil(
        [&](std::string& state) {
            dialog = findDialog(session.main().processId, caption);
            state = dialog ? "present" : "absent";
            return dialog != nullptr;
        },
        "dialog \"" + toUtf8(caption) + "\"");
    return dialog;
}

HWND requireDialogItem(Session& session, const std::wstring& caption, const std::wstring& id) {
    HWND item = GetDlgItem(requireDialog(session, caption), toInt(id));
    if (!item) throw DriverError("dialog \"" + toUtf8(caption) + "\" has no item " + toUtf8(id));
    return item;
}

std::string rectText(const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
}

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

using Args = std::vector<std::wstring>;

std::string waitWindow(Session& session, const Args&) {
    session.main();
    return {};
}

// Keys go to the active window: a click that activates another one must have been taken in
// before the next key is sent.
std::string waitActive(Session& session, const Args& a) {
    const HWND main = session.main().window;
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
    session.waitForIdle();
    return {};
}

// What a click on a menu item sends.
std::string postCommand(Session& session, const Args& a) {
    if (!PostMessageW(session.main().window, WM_COMMAND, MAKEWPARAM(toInt(a[0]), 0), 0)) {
        throwLastError("PostMessage(WM_COMMAND)");
    }
    return {};
}

std::string status(Session& session, const Args& a) {
    return toUtf8(statusText(session.main(), toInt(a[0])));
}

std::string waitStatus(Session& session, const Args& a, bool prefix) {
    const int part = toInt(a[0]);
    const std::wstring text = waitText([&] { return statusText(session.main(), part); }, a[1],
                                       prefix, "status part " + toUtf8(a[0]));
    return prefix ? toUtf8(text) : std::string();
}

std::string title(Session& session, const Args&) {
    return toUtf8(windowText(session.main().window));
}

std::string waitTitle(Session& session, const Args& a) {
    waitText([&] { return windowText(session.main().window); }, a[0], false, "the title");
    return {};
}

std::string windows(Session& session, const Args&) {
    std::string out;
    for (const TopWindow& entry : visibleWindows(session.main().processId)) {
        if (!out.empty()) out += "\n";
        out += toUtf8(entry.className) + "|" + toUtf8(entry.caption) + "|" + rectText(entry.rect);
    }
    return out;
}

std::string waitDialog(Session& session, const Args& a) {
    requireDialog(session, a[0]);
    return {};
}

std::string waitNoDialog(Session& session, const Args& a) {
    waitUntil(
        [&](std::string& state) {
            const bool present = findDialog(session.main().processId, a[0]) != nullptr;
            state = present ? "present" : "absent";
            return !present;
        },
        "dialog \"" + toUtf8(a[0]) + "\" to close");
    return {};
}

std::string dialogText(Session& session, const Args& a) {
    return toUtf8(windowText(requireDialogItem(session, a[0], a[1])));
}

std::string itemRect(Session& session, const Args& a) {
    RECT r{};
    GetWindowRect(requireDialogItem(session, a[0], a[1]), &r);
    return rectText(r);
}

std::string itemEnabled(Session& session, const Args& a) {
    return IsWindowEnabled(requireDialogItem(session, a[0], a[1])) ? "1" : "0";
}

std::string messageBox(Session& session, const Args&) {
    return toUtf8(messageBoxText(session.main().processId));
}

std::string waitMessageBox(Session& session, const Args&) {
    std::wstring text;
    waitUntil(
        [&](std::string& state) {
            text = messageBoxText(session.main().processId);
            state = text.empty() ? "none" : toUtf8(text);
            return !text.empty();
        },
        "a message box");
    return toUtf8(text);
}

std::string canvasOrigin(Session& session, const Args&) {
    HWND canvas = FindWindowExW(session.main().window, nullptr, L"LumetraImage", nullptr);
    if (!canvas) throw DriverError("no canvas window");
    POINT origin{0, 0};
    ClientToScreen(canvas, &origin);
    RECT client{};
    GetClientRect(canvas, &client);
    return std::to_string(origin.x) + " " + std::to_string(origin.y) + " " +
           std::to_string(client.right) + " " + std::to_string(client.bottom);
}

// The texts of a tab control's tabs, one a line: TCM_GETITEM writes through pointers, so the
// item record and its text buffer live in the program's process.
std::string tabNames(Session& session, const Args& a) {
    HWND tabs = requireDialogItem(session, a[0], a[1]);
    const LRESULT count = sendWithTimeout(tabs, TCM_GETITEMCOUNT, 0, 0);
    constexpr size_t kChars = 260;
    RemoteBuffer remote(session.main().processId, sizeof(TCITEMW) + kChars * sizeof(wchar_t));
    auto* const text =
        reinterpret_cast<wchar_t*>(static_cast<char*>(remote.address()) + sizeof(TCITEMW));
    std::string out;
    for (LRESULT i = 0; i < count; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
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
    HWND dialog = requireDialog(session, a[0]);
    HWND line = requireDialogItem(session, a[0], L"14147");
    RemoteBuffer text(session.main().processId, (a[1].size() + 1) * sizeof(wchar_t));
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
    HWND box = nullptr;
    waitUntil(
        [&](std::string& state) {
            box = findMessageBox(session.main().processId);
            state = box ? "present" : "none";
            return box != nullptr;
        },
        "a message box");
    pressBoxButton(box, toInt(a[0]));
    return {};
}

// Waits for the program to end. A "Save changes to" question on the way is answered No, as a
// user who leaves the picture unsaved does; any other box stays and is named if the wait fails.
std::string endWithoutSaving(Session& session, const Args&) {
    DWORD code = 0;
    waitUntil(
        [&](std::string& state) {
            if (session.hasEnded(code)) return true;
            const std::wstring text = messageBoxText(session.main().processId);
            state = text.empty() ? "running, no message box" : "box " + toUtf8(text);
            if (text.find(L"|Save changes to ") != std::wstring::npos)
                pressBoxButton(findMessageBox(session.main().processId), IDNO);
            return false;
        },
        "the program to end");
    return std::to_string(code);
}

// The close box on a picture whose changes are to be dropped.
std::string closeWithoutSaving(Session& session, const Args& a) {
    if (!PostMessageW(session.main().window, WM_CLOSE, 0, 0))
        throwLastError("PostMessage(WM_CLOSE)");
    return endWithoutSaving(session, a);
}

}  // namespace

const std::vector<Command>& commandTable() {
    static const std::vector<Command> table = {
        {"wait-window", 0, "wait for the main window", waitWindow},
        {"wait-idle", 0, "wait until the program waits for input", waitIdle},
        {"wait-active", 1, "CAPTION: wait until this window (LumetraWin: the main one) is active",
         waitActive},
        {"command", 1, "ID: post WM_COMMAND ID to the main window (a menu click)", postCommand},
        {"status", 1, "PART: print the status-bar part", status},
        {"wait-status", 2, "PART TEXT: wait until the part reads TEXT",
         [](Session& s, const Args& a) { return waitStatus(s, a, false); }},
        {"wait-status-prefix", 2, "PART TEXT: wait until the part starts with TEXT; print it",
         [](Session& s, const Args& a) { return waitStatus(s, a, true); }},
        {"title", 0, "print the main window's title", title},
        {"wait-title", 1, "TEXT: wait until the title reads TEXT", waitTitle},
        {"windows", 0, "list the program's visible top-level windows: class|caption|x y w h",
         windows},
        {"wait-dialog", 1, "CAPTION: wait for a visible dialog with this caption", waitDialog},
        {"wait-no-dialog", 1, "CAPTION: wait until no such dialog is visible", waitNoDialog},
        {"dialog-text", 2, "CAPTION ID: print the text of a dialog item", dialogText},
        {"item-rect", 2, "CAPTION ID: print a dialog item's screen rectangle: x y w h", itemRect},
        {"item-enabled", 2, "CAPTION ID: print 1 when the dialog item is enabled, else 0",
         itemEnabled},
        {"message-box", 0, "print caption|text of a visible message box, or nothing", messageBox},
        {"wait-message-box", 0, "wait for a message box; print caption|text", waitMessageBox},
        {"canvas-origin", 0, "print the canvas client origin on screen and its size: x y w h",
         canvasOrigin},
        {"tab-names", 2, "CAPTION ID: print the texts of a dialog's tab control, one a line",
         tabNames},
        {"browse-to", 3,
         "CAPTION PATH SHOWN: select PATH in the folder browser until it shows SHOWN", browseTo},
        {"short-path", 1, "PATH: print the 8.3 form of an existing path", shortPath},
        {"close-unsaved", 0,
         "close the main window, answer No to a save question; print the exit code",
         closeWithoutSaving},
        {"answer-box", 1,
         "ID: wait for a message box and press its button ID (6 Yes, 7 No, 2 Cancel)", answerBox},
        {"clipboard-put-32", 3,
         "W H FILE: put W x H top-down 32-bit pixels (bgra) on the clipboard as a bit-field CF_DIB",
         clipboardPut32},
        {"clipboard-save-bitmap", 1,
         "FILE: save the clipboard's CF_BITMAP as top-down 32-bit pixels (bgra); print WxH",
         clipboardSaveBitmap},
    };
    return table;
}

}  // namespace e2e
