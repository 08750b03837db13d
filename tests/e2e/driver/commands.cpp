#include "commands.h"

#include <commctrl.h>
#include <shlobj.h>

#include <functional>

#include "driver_error.h"
#include "program_queries.h"
#include "protocol.h"
#include "remote_buffer.h"
#include "text_utf8.h"

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

// Document answers reach 2^32 (the pixel hash is an unsigned 32-bit number).
long long toLongLong(const std::wstring& text) {
    try {
        size_t used = 0;
        const long long value = std::stoll(text, &used, 0);
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

using Args = std::vector<std::wstring>;

std::string waitWindow(Session& session, const Args&) {
    session.main();
    return {};
}

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
    waitUntil(
        [&](std::string& state) {
            const std::wstring text = statusText(session.main(), part);
            state = "\"" + toUtf8(text) + "\"";
            return prefix ? text.rfind(a[1], 0) == 0 : text == a[1];
        },
        "status part " + toUtf8(a[0]) + (prefix ? " starting with \"" : " = \"") + toUtf8(a[1]) +
            "\"");
    return toUtf8(statusText(session.main(), part));
}

std::string title(Session& session, const Args&) {
    return toUtf8(windowText(session.main().window));
}

std::string waitTitle(Session& session, const Args& a) {
    waitUntil(
        [&](std::string& state) {
            const std::wstring text = windowText(session.main().window);
            state = "\"" + toUtf8(text) + "\"";
            return text == a[0];
        },
        "title \"" + toUtf8(a[0]) + "\"");
    return {};
}

std::string menu(Session& session, const Args& a) {
    return menuState(session.main(), toInt(a[0]));
}

std::string waitMenu(Session& session, const Args& a) {
    const int id = toInt(a[0]);
    const std::string wanted = toUtf8(a[1]);
    waitUntil(
        [&](std::string& state) {
            state = menuState(session.main(), id);
            return state == wanted;
        },
        "menu item " + toUtf8(a[0]) + " " + wanted);
    return {};
}

std::string document(Session& session, const Args& a) {
    return std::to_string(documentValue(session.main(), toUtf8(a[0])));
}

std::string docText(Session& session, const Args& a) {
    return toUtf8(documentText(session.main(), toUtf8(a[0])));
}

std::string waitDocument(Session& session, const Args& a) {
    const long long wanted = toLongLong(a[1]);
    waitUntil(
        [&](std::string& state) {
            const long long value = documentValue(session.main(), toUtf8(a[0]));
            state = std::to_string(value);
            return value == wanted;
        },
        toUtf8(a[0]) + " = " + toUtf8(a[1]));
    return {};
}

std::string openPath(Session& session, const Args& a) {
    transferPath(session.main(), protocol::kOpenImagePath, a[0]);
    return {};
}

std::string saveAsPath(Session& session, const Args& a) {
    transferPath(session.main(), protocol::kSaveImageAsPath, a[0]);
    return {};
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

std::string setDialogText(Session& session, const Args& a) {
    sendWithTimeout(requireDialogItem(session, a[0], a[1]), WM_SETTEXT, 0,
                    reinterpret_cast<LPARAM>(a[2].c_str()));
    return {};
}

std::string itemRect(Session& session, const Args& a) {
    RECT r{};
    GetWindowRect(requireDialogItem(session, a[0], a[1]), &r);
    return rectText(r);
}

std::string click(Session& session, const Args& a) {
    HWND dialog = requireDialog(session, a[0]);
    const int id = toInt(a[1]);
    if (!PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)))) {
        throwLastError("PostMessage(BN_CLICKED)");
    }
    return {};
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

std::string windowRect(Session& session, const Args&) {
    RECT r{};
    GetWindowRect(session.main().window, &r);
    return rectText(r);
}

std::string windows(Session& session, const Args&) {
    std::string out;
    for (const TopWindow& entry : visibleWindows(session.main().processId)) {
        if (!out.empty()) out += "\n";
        out += toUtf8(entry.className) + "|" + toUtf8(entry.caption) + "|" + rectText(entry.rect);
    }
    return out;
}

// A visible top-level window of the program by its caption; "main" is the main window.
HWND requireTopWindow(Session& session, const std::wstring& caption) {
    if (caption == L"main") return session.main().window;
    for (const TopWindow& entry : visibleWindows(session.main().processId)) {
        if (entry.caption == caption) return entry.window;
    }
    throw DriverError("no visible window \"" + toUtf8(caption) + "\"");
}

// A width and height of 0 keep the window's size.
std::string place(Session& session, const Args& a) {
    const int width = toInt(a[3]), height = toInt(a[4]);
    const UINT keepSize = width == 0 && height == 0 ? SWP_NOSIZE : 0;
    if (!SetWindowPos(requireTopWindow(session, a[0]), nullptr, toInt(a[1]), toInt(a[2]), width,
                      height, SWP_NOZORDER | SWP_NOACTIVATE | keepSize)) {
        throwLastError("SetWindowPos");
    }
    return {};
}

std::string itemEnabled(Session& session, const Args& a) {
    return IsWindowEnabled(requireDialogItem(session, a[0], a[1])) ? "1" : "0";
}

// The folder browser selects a folder given as a path; the text must live in the program.
std::string browseSelect(Session& session, const Args& a) {
    HWND dialog = requireDialog(session, a[0]);
    const std::wstring& path = a[1];
    RemoteBuffer text(session.main().processId, (path.size() + 1) * sizeof(wchar_t));
    text.write(path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    sendWithTimeout(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(text.address()));
    return {};
}

std::string close(Session& session, const Args&) {
    if (!PostMessageW(session.main().window, WM_CLOSE, 0, 0))
        throwLastError("PostMessage(WM_CLOSE)");
    return std::to_string(session.waitForExit());
}

std::string waitExit(Session& session, const Args&) {
    return std::to_string(session.waitForExit());
}

std::string sleepFor(Session&, const Args& a) {
    Sleep(static_cast<DWORD>(toInt(a[0])));
    return {};
}

}  // namespace

const std::vector<Command>& commandTable() {
    static const std::vector<Command> table = {
        {"wait-window", 0, "wait for the main window", waitWindow},
        {"command", 1, "ID: post WM_COMMAND ID to the main window", postCommand},
        {"status", 1, "PART: print the status-bar part", status},
        {"wait-status", 2, "PART TEXT: wait until the part reads TEXT",
         [](Session& s, const Args& a) { return waitStatus(s, a, false); }},
        {"wait-status-prefix", 2, "PART TEXT: wait until the part starts with TEXT; print it",
         [](Session& s, const Args& a) { return waitStatus(s, a, true); }},
        {"title", 0, "print the main window's title", title},
        {"wait-title", 1, "TEXT: wait until the title reads TEXT", waitTitle},
        {"menu-state", 1, "ID: print enabled|grayed|disabled [checked] or missing", menu},
        {"wait-menu-state", 2, "ID STATE: wait until menu-state ID prints STATE", waitMenu},
        {"doc", 1, "NAME: print a document query's answer", document},
        {"doc-text", 1,
         "path|name|image-folder|filter-folder|soundfile-folder|base-folder|undo-folder|"
         "recent-N|recent-menu-N: print a text of the program",
         docText},
        {"wait-doc", 2, "NAME VALUE: wait until the document query answers VALUE", waitDocument},
        {"open", 1, "PATH: open an image as the Open command would", openPath},
        {"save-as", 1, "PATH: save the image as Save Image As would", saveAsPath},
        {"wait-dialog", 1, "CAPTION: wait for a visible dialog with this caption", waitDialog},
        {"wait-no-dialog", 1, "CAPTION: wait until no such dialog is visible", waitNoDialog},
        {"dialog-text", 2, "CAPTION ID: print the text of a dialog item", dialogText},
        {"set-dialog-text", 3, "CAPTION ID TEXT: set the text of a dialog item", setDialogText},
        {"item-rect", 2, "CAPTION ID: print a dialog item's screen rectangle: x y w h", itemRect},
        {"click", 2, "CAPTION ID: post a button click to a dialog", click},
        {"message-box", 0, "print caption|text of a visible message box, or nothing", messageBox},
        {"wait-message-box", 0, "wait for a message box; print caption|text", waitMessageBox},
        {"canvas-origin", 0, "print the canvas client origin on screen and its size: x y w h",
         canvasOrigin},
        {"window-rect", 0, "print the main window's rectangle: x y w h", windowRect},
        {"windows", 0, "list the program's visible top-level windows", windows},
        {"place", 5, "CAPTION|main X Y W H: move and size a window of the program", place},
        {"item-enabled", 2, "CAPTION ID: print 1 when the dialog item is enabled, else 0",
         itemEnabled},
        {"browse-select", 2, "CAPTION PATH: select a folder in the folder browser", browseSelect},
        {"close", 0, "close the main window; wait for the program to end; print its exit code",
         close},
        {"wait-exit", 0, "wait for the program to end; print its exit code", waitExit},
        {"sleep", 1, "MS: wait", sleepFor},
    };
    return table;
}

}  // namespace e2e
