#pragma once
// The main window (class "LumetraWin"): its set-up in the fixed order, its messages and the
// shutdown sequence.

#include <windows.h>

#include "base/win/message_handler.h"

namespace lumetra::win {

struct Program;

inline constexpr wchar_t kMainClassName[] = L"LumetraWin";

class MainWindow final : public WindowHandler {
  public:
    explicit MainWindow(Program& program) : program_(program) {}

    // Creates the main window with the start title at the window layout's rectangle; its
    // creation sets the program up. Null when the set-up failed.
    HWND create();

    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  protected:
    void showFailure(const char* what) override;

  private:
    bool onCreate(HWND window);
    LRESULT onNotify(NMHDR* header);
    void onMenuSelect(UINT id, UINT flags);

    Program& program_;
};

// Registers "LumetraWin" and then "LumetraImage"; false when either fails.
bool registerWindowClasses(HINSTANCE instance);

// Loads menu 100, trims it and attaches it to the main window.
void attachMainMenu(Program& program);

// The shutdown sequence; runs once whatever calls it.
void runShutdown(Program& program);

// Ends the program from anywhere: destroys the main window (which runs the shutdown sequence),
// or, before the window exists, runs the sequence and posts the quit message.
void endProgram(Program& program);

// Lays the toolbar, canvas and status bar out for the main window's client size.
void layoutMainWindow(Program& program, int clientWidth, int clientHeight);

}  // namespace lumetra::win
