#pragma once
// The recent-files list of the program (the core's FileList over the Windows short and long path
// names) and its "Recent &Files" submenu of the File menu, with the ids 3400 to 3410.

#include <windows.h>

#include <string>

#include "shell/file_list.h"

namespace lumetra::win {

// The submenu of one list. Its popup is made and put in place of the menu resource's
// placeholder submenu the first time the main menu opens; from then on the main menu owns it.
class RecentFilesMenu {
  public:
    explicit RecentFilesMenu(FileList& list) : list_(list) {}

    // Attaches the popup on first use (the File menu item three places from its end) and grays
    // the item while the list is empty.
    void update(HMENU mainMenu);
    // Refills the popup, newest first, once it exists.
    void rebuild();
    HMENU popup() const { return popup_; }

  private:
    FileList& list_;
    HMENU popup_ = nullptr;
};

// The text of a menu item that shows `text` as it is: "&" would mark a mnemonic and vanish.
std::wstring menuItemText(const std::string& text);

// The program's list, loaded from and saved to the "RecentFiles" subkey of the settings key.
void loadRecentFiles();
void saveRecentFiles();

// The stored path of entry `index` (0 = oldest); empty when there is none.
std::wstring recentFilePath(int index);
// The entry's long file name without its folder, as the menu shows it; empty when there is none.
std::wstring recentFileName(int index);
// Adds a successfully opened image; the menu follows.
void addRecentFile(const std::wstring& path);
// Runs with every menu state update.
void updateRecentFilesMenu(HMENU mainMenu);

}  // namespace lumetra::win
