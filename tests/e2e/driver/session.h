// What one driver run knows about the program: its main window and a handle to its process, taken
// once so that the process can still be waited for after its windows are gone.
#pragma once

#include <windows.h>

#include "program_windows.h"

namespace e2e {

class Session {
  public:
    Session() = default;
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The main window, waiting for it on first use.
    const MainWindow& main();
    // Waits for the program to end and returns its exit code.
    DWORD waitForExit();

  private:
    MainWindow main_;
    HANDLE process_ = nullptr;
};

}  // namespace e2e
