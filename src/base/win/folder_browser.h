#pragma once
// The shell's folder browser as the folder commands use it.

#include <windows.h>

#include <optional>
#include <string>

namespace lumetra::win {

// Shows the folder browser with `title` as its caption and title line, starting at
// `initialFolder`. Only folders with a drive-letter path can be confirmed: for anything else
// (network places, virtual folders) the path line stays empty and OK is disabled. The chosen
// path comes back as the shell gives it (no trailing separator except for a drive root);
// nothing when the user cancels.
std::optional<std::wstring> browseForFolder(HWND owner, const std::wstring& initialFolder,
                                            const std::wstring& title);

// The selection rule of the browser: the path to show for a selection, and whether it may be
// confirmed (a selection without a file-system path passes nullopt).
struct BrowserSelection {
    std::wstring shownPath;
    bool confirmable = false;
};
BrowserSelection browserSelection(const std::optional<std::wstring>& fileSystemPath);

}  // namespace lumetra::win
