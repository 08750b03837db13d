// What a user of the running program can read off its windows: the status-bar parts and the text
// of a message box.
#pragma once

#include <windows.h>

#include <string>

#include "program_windows.h"

namespace e2e {

std::wstring statusText(const MainWindow& main, int part);
// The caption and text of a visible message box of the program ("caption|text"), or empty.
std::wstring messageBoxText(DWORD processId);

}  // namespace e2e
