// The end-to-end driver's view of the running program from outside: its main window by class,
// the windows and message boxes of its process, and the texts a user can read off them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/win/unique_handle.h"
#include "base/win/utf16.h"

namespace e2e {

using lumetra::win::toUtf8;
using Args = std::vector<std::wstring>;

struct DriverError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// "what failed: Error 5: Access is denied." with the system's own text for GetLastError().
[[noreturn]] void throwLastError(const std::string& what);

// Milliseconds that every wait of one driver run allows (--timeout); --starting: the main window
// counts before it is shown (a box during its creation keeps it hidden).
extern int gTimeoutMs;
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
// A visible message box of the process, or null; its "caption|text", or empty.
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
    ~RemoteBuffer() { VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* address() const { return address_; }
    std::vector<unsigned char> read() const;
    void write(const void* data, size_t bytes);

  private:
    lumetra::win::UniqueKernelHandle process_;
    void* address_ = nullptr;
    size_t size_ = 0;
};

// What one driver run knows about the program: its main window (the visible one of class
// "LumetraWin") and its process, opened once so that its end can be waited for after its windows
// are gone.
class Session {
  public:
    // The main window, waited for up to gTimeoutMs on first use.
    HWND main();
    DWORD processId() {
        main();
        return processId_;
    }
    HANDLE process() {
        main();
        return process_.get();
    }

  private:
    HWND main_ = nullptr;
    DWORD processId_ = 0;
    lumetra::win::UniqueKernelHandle process_;
};

// The driver's commands: each takes a fixed number of arguments and returns the text to print
// (nothing is printed when it is empty).
struct Command {
    const char* name;
    int arguments;
    const char* help;
    std::string (*run)(Session& session, const Args& args);
};
const std::vector<Command>& commandTable();

// The clipboard commands (clipboard.cpp).
std::string clipboardPut32(Session& session, const Args& args);
std::string clipboardSaveBitmap(Session& session, const Args& args);

}  // namespace e2e
