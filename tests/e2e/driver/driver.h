// The end-to-end driver's view of the running program from outside: its main window by class,
// the windows and message boxes of its process, the texts a user can read off them, and the
// commands of the driver's command line.
#pragma once

#include <windows.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/win/utf16.h"

namespace e2e {

using lumetra::win::toUtf8;

// The one error type of the driver: a message for the scenario's log.
class DriverError : public std::runtime_error {
  public:
    explicit DriverError(const std::string& message) : std::runtime_error(message) {}
};

// "what failed: Error 5: Access is denied." with the system's own text for GetLastError().
[[noreturn]] void throwLastError(const std::string& what);

// Milliseconds that every wait of one driver run allows (--timeout).
extern int gTimeoutMs;
// --starting: the main window counts before it is shown (a box during its creation keeps it
// hidden until the box is answered).
extern bool gAcceptHiddenMain;

struct TopWindow {
    HWND window;
    std::wstring className;
    std::wstring caption;
    RECT rect;
};
// The visible top-level windows of a process, in z-order (topmost first).
std::vector<TopWindow> visibleWindows(DWORD processId);
// A visible dialog (class "#32770") of the process with exactly this caption, or null.
HWND findDialog(DWORD processId, const std::wstring& caption);
// A visible message box of the process, or null; its caption and text ("caption|text"), or empty.
HWND findMessageBox(DWORD processId);
std::wstring messageBoxText(DWORD processId);
// The text of a window of another process (WM_GETTEXT is carried across processes).
std::wstring windowText(HWND window);
// Sends a message and waits at most gTimeoutMs for the answer; throws on a timeout.
LRESULT sendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Memory inside the program's process, for messages that pass a pointer (SB_GETTEXT,
// BFFM_SETSELECTION, TCM_GETITEM): a pointer into the driver's memory means nothing there.
class RemoteBuffer {
  public:
    RemoteBuffer(DWORD processId, size_t bytes);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* address() const { return address_; }
    std::vector<unsigned char> read() const;
    void write(const void* data, size_t bytes);

  private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_ = 0;
};

struct MainWindow {
    HWND window = nullptr;
    DWORD processId = 0;
};

// What one driver run knows about the program: its main window (the visible one of class
// "LumetraWin") and a handle to its process, taken once so that the process can still be waited
// for after its windows are gone.
class Session {
  public:
    Session() = default;
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The main window, waiting up to gTimeoutMs for it on first use.
    const MainWindow& main();
    // True, with its exit code, once the program has ended.
    bool hasEnded(DWORD& code);
    // Waits until the program, done with what it had to do, waits for input.
    void waitForIdle();

  private:
    MainWindow main_;
    HANDLE process_ = nullptr;
};

// The driver's commands: each takes a fixed number of arguments and returns the text to print
// (nothing is printed when it is empty).
struct Command {
    const char* name;
    int arguments;
    const char* help;
    std::string (*run)(Session& session, const std::vector<std::wstring>& args);
};

const std::vector<Command>& commandTable();

// The clipboard commands (clipboard.cpp).
std::string clipboardPut32(Session& session, const std::vector<std::wstring>& args);
std::string clipboardSaveBitmap(Session& session, const std::vector<std::wstring>& args);

}  // namespace e2e
