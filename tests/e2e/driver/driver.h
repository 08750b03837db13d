// The end-to-end driver (lumetra_e2e): what its commands share. The driver reads the running
// program from outside: its main window by class, the windows and message boxes of its process,
// and the texts a user can read off them.
#pragma once

#include <windows.h>

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

// Milliseconds that every wait of one driver run allows (--timeout).
extern int gTimeoutMs;

// What one driver run knows about the program: its main window (the visible one of class
// "LumetraWin"; with --starting also a hidden one, as a box during its creation keeps it hidden)
// and its process, opened once so that its end can be waited for after its windows are gone.
class Session {
  public:
    explicit Session(bool acceptHidden) : acceptHidden_(acceptHidden) {}
    // The main window, waited for up to gTimeoutMs on first use.
    HWND main();
    DWORD processId() { return main(), processId_; }
    HANDLE process() { return main(), process_.get(); }

  private:
    bool acceptHidden_;
    HWND main_ = nullptr;
    DWORD processId_ = 0;
    lumetra::win::UniqueKernelHandle process_;
};

// A command takes a fixed number of arguments and returns the text to print (none when empty).
struct Command {
    const char* name;
    int arguments;
    const char* help;
    std::string (*run)(Session& session, const Args& args);
};
const std::vector<Command>& commandTable();

std::string clipboardPut32(Session& session, const Args& args);       // clipboard.cpp
std::string clipboardSaveBitmap(Session& session, const Args& args);  // clipboard.cpp

}  // namespace e2e
