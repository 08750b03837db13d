#pragma once
// The program's message boxes. Each disables the four tool windows while it is up and enables
// them afterwards; the owner is the main window.

#include <string_view>

namespace lumetra::win {

// True when the user answers Yes.
bool askYesNo(std::wstring_view text, std::wstring_view title = L"Lumetra Quiz");
void showWarning(std::wstring_view text, std::wstring_view title = L"Lumetra Warning!");
// Shows the box titled "Fatal error", then ends the program through the shutdown sequence.
void showFatalError(std::wstring_view text);

}  // namespace lumetra::win
