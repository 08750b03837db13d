#include "shell/win/recent_files.h"

#include "base/win/registry_value_store.h"
#include "base/win/unique_handle.h"
#include "base/win/utf16.h"
#include "shell/win/menus.h"

namespace lumetra::win {
namespace {

// The file name part of a Windows path (the separators are backslashes whatever the platform).
std::wstring fileNamePart(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
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

void RecentFiles::load() {
    RegistryValueStore store;
    list_.load(store);
    rebuildMenu();
}

void RecentFiles::save() const {
    RegistryValueStore store;
    list_.save(store);
}

std::wstring RecentFiles::path(int index) const {
    if (index < 0) return {};
    const auto entry = list_.entry(std::size_t(index));
    return entry ? entry->wstring() : std::wstring();
}

std::wstring RecentFiles::name(int index) {
    if (index < 0) return {};
    const auto entry = list_.entry(std::size_t(index));
    return entry ? fileNamePart(files_.longPath(*entry).wstring()) : std::wstring();
}

void RecentFiles::add(const std::filesystem::path& path) {
    if (list_.add(path)) rebuildMenu();
}

void RecentFiles::updateMenu(HMENU mainMenu) {
    if (!popup_) {
        // The resource's placeholder submenu holds the first entry's id.
        const auto place = findSubmenuHolding(mainMenu, FileList::kFirstCommand);
        if (!place) return;
        UniqueMenu popup(CreatePopupMenu());
        if (!popup) return;
        const std::wstring caption = toUtf16(FileList::kMenuCaption);
        // Replacing a submenu item destroys the old submenu with its placeholder entry.
        if (!ModifyMenuW(place->menu, place->position, MF_BYPOSITION | MF_POPUP | MF_STRING,
                         reinterpret_cast<UINT_PTR>(popup.get()), caption.c_str())) {
            return;
        }
        popup_ = popup.release();
        rebuildMenu();
    }
    const auto place = findSubmenuItem(mainMenu, popup_);
    if (!place) return;
    EnableMenuItem(place->menu, place->position,
                   MF_BYPOSITION | (list_.menuEnabled() ? MF_ENABLED : MF_GRAYED));
}

void RecentFiles::rebuildMenu() {
    if (!popup_) return;
    while (GetMenuItemCount(popup_) > 0)
        DeleteMenu(popup_, 0, MF_BYPOSITION);
    for (const RecentMenuItem& item : list_.menuItems())
        AppendMenuW(popup_, MF_STRING, UINT_PTR(item.command), menuItemText(item.text).c_str());
}

}  // namespace lumetra::win
