#pragma once
// The recent-files list of the program (the core's FileList over the Windows short and long path
// names), kept under the "RecentFiles" subkey of the settings key, and its "Recent &Files"
// submenu of the File menu with the ids 3400 to 3410.

#include <windows.h>

#include <filesystem>
#include <string>

#include "shell/file_list.h"

namespace lumetra::win {

// The text of a menu item that shows `text` as it is: "&" would mark a mnemonic and vanish.
std::wstring menuItemText(const std::string& text);

class RecentFiles {
  public:
    explicit RecentFiles(FileSystem& files) : files_(files), list_(files) {}

    // Loaded from and saved to the registry.
    void load();
    void save() const;

    // The stored path of entry `index` (0 = oldest); empty when there is none.
    std::wstring path(int index) const;
    // The entry's long file name without its folder, as the menu shows it.
    std::wstring name(int index);
    int count() const { return int(list_.size()); }
    // Adds a successfully opened image; the submenu follows.
    void add(const std::filesystem::path& path);

    // With every menu state update: the submenu takes the place of the menu resource's
    // placeholder the first time, and its item is grayed while the list is empty.
    void updateMenu(HMENU mainMenu);
    HMENU popup() const { return popup_; }

  private:
    void rebuildMenu();

    FileSystem& files_;
    FileList list_;
    HMENU popup_ = nullptr;  // owned by the main menu once it is in place
};

}  // namespace lumetra::win
