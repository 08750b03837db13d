#include "shell/win/recent_files.h"

#include "shell/win/registry_value_store.h"
#include "shell/win/unique_handle.h"
#include "shell/win/utf16.h"
#include "shell/win/win_path_names.h"

namespace lumetra::win {
namespace {

// The File menu holds "Recent &Files" three places from its end, above its separator and Exit.
constexpr int kPlacesFromEnd = 3;

struct ProgramRecentFiles {
    WinPathNames paths;
    FileList list{paths};
    RecentFilesMenu menu{list};
};

ProgramRecentFiles& recent() {
    static ProgramRecentFiles files;
    return files;
}

std::string fileNamePart(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::wstring menuItemText(const std::string& text) {
    std::wstring result;
    for (wchar_t c : toUtf16(text)) {
        result += c;
        if (c == L'&') result += L'&';
    }
    return result;
}

void RecentFilesMenu::update(HMENU mainMenu) {
    HMENU file = mainMenu ? GetSubMenu(mainMenu, 0) : nullptr;
    const int count = file ? GetMenuItemCount(file) : -1;
    if (count < kPlacesFromEnd) return;
    const UINT position = UINT(count - kPlacesFromEnd);
    if (!popup_) {
        // The placeholder submenu must be there: anything else is not the item to replace.
        if (!GetSubMenu(file, int(position))) return;
        UniqueMenu popup(CreatePopupMenu());
        if (!popup) return;
        const std::wstring caption = toUtf16(FileList::kMenuCaption);
        // Replacing a submenu item destroys the old submenu with its placeholder entry.
        if (!ModifyMenuW(file, position, MF_BYPOSITION | MF_POPUP | MF_STRING,
                         reinterpret_cast<UINT_PTR>(popup.get()), caption.c_str())) {
            return;
        }
        popup_ = popup.release();
        rebuild();
    }
    EnableMenuItem(file, position, MF_BYPOSITION | (list_.menuEnabled() ? MF_ENABLED : MF_GRAYED));
}

void RecentFilesMenu::rebuild() {
    if (!popup_) return;
    while (GetMenuItemCount(popup_) > 0)
        DeleteMenu(popup_, 0, MF_BYPOSITION);
    for (const RecentMenuItem& item : list_.menuItems())
        AppendMenuW(popup_, MF_STRING, UINT_PTR(item.command), menuItemText(item.text).c_str());
}

void loadRecentFiles() {
    RegistryValueStore store;
    recent().list.load(store);
    recent().menu.rebuild();
}

void saveRecentFiles() {
    RegistryValueStore store;
    recent().list.save(store);
}

std::wstring recentFilePath(int index) {
    if (index < 0) return {};
    const auto entry = recent().list.entry(std::size_t(index));
    return entry ? toUtf16(*entry) : std::wstring();
}

std::wstring recentFileName(int index) {
    if (index < 0) return {};
    const auto entry = recent().list.entry(std::size_t(index));
    return entry ? toUtf16(fileNamePart(recent().paths.longPath(*entry))) : std::wstring();
}

void addRecentFile(const std::wstring& path) {
    if (recent().list.add(toUtf8(path))) recent().menu.rebuild();
}

void updateRecentFilesMenu(HMENU mainMenu) {
    recent().menu.update(mainMenu);
}

}  // namespace lumetra::win
