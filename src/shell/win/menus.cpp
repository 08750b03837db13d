#include "shell/win/menus.h"

namespace lumetra::win {
namespace {

bool isSeparator(HMENU menu, int position) {
    return position >= 0 && position < GetMenuItemCount(menu) &&
           (GetMenuState(menu, UINT(position), MF_BYPOSITION) & MF_SEPARATOR) != 0;
}

template <typename Match>
std::optional<MenuPlace> findItem(HMENU menu, const Match& match) {
    if (!menu) return std::nullopt;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (match(menu, i)) return MenuPlace{menu, UINT(i)};
        if (HMENU sub = GetSubMenu(menu, i)) {
            if (auto found = findItem(sub, match)) return found;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<MenuPlace> findCommandItem(HMENU menu, UINT id) {
    return findItem(
        menu, [id](HMENU m, int i) { return !GetSubMenu(m, i) && GetMenuItemID(m, i) == id; });
}

std::optional<MenuPlace> findSubmenuItem(HMENU menu, HMENU submenu) {
    return findItem(menu, [submenu](HMENU m, int i) { return GetSubMenu(m, i) == submenu; });
}

std::optional<MenuPlace> findSubmenuHolding(HMENU menu, UINT id) {
    return findItem(menu, [id](HMENU m, int i) {
        HMENU sub = GetSubMenu(m, i);
        if (!sub) return false;
        const int count = GetMenuItemCount(sub);
        for (int k = 0; k < count; ++k)
            if (!GetSubMenu(sub, k) && GetMenuItemID(sub, k) == id) return true;
        return false;
    });
}

bool removeCommandItem(HMENU menu, UINT id) {
    const auto place = findCommandItem(menu, id);
    if (!place) return false;
    DeleteMenu(place->menu, place->position, MF_BYPOSITION);
    const int at = int(place->position);
    if (isSeparator(place->menu, at) && (at == 0 || isSeparator(place->menu, at - 1))) {
        DeleteMenu(place->menu, UINT(at), MF_BYPOSITION);
    }
    return true;
}

}  // namespace lumetra::win
