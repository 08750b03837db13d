// Questions to the running program: status-bar parts, title, menu states through its private
// query message, document facts, and the files it opens or saves on request.
#pragma once

#include <windows.h>

#include <string>

#include "program_windows.h"

namespace e2e {

std::wstring statusText(const MainWindow& main, int part);
// "enabled", "grayed" or "disabled", followed by " checked" when checked; "missing" when the
// menu has no such item.
std::string menuState(const MainWindow& main, int commandId);
// A number from the program's document query; the name is one of the protocol's query names.
long long documentValue(const MainWindow& main, const std::string& name);
// A text of the document ("path" or "name", the display name shown in the title).
std::wstring documentText(const MainWindow& main, const std::string& name);
// Asks the program to open or save the file at `path` as its Open and Save As commands would
// after their dialogs. Fails with the text of a message box when the program shows one.
void transferPath(const MainWindow& main, ULONG_PTR kind, const std::wstring& path);
// The caption and text of a visible message box of the program ("caption|text"), or empty.
std::wstring messageBoxText(DWORD processId);

}  // namespace e2e
