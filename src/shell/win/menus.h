#pragma once
// The main menu: items are found by command id (or by the submenu they open), never by a fixed
// position, so that the menu resource can change without the code.

#include <windows.h>

#include <optional>

namespace lumetra::win {

struct MenuPlace {
    HMENU menu = nullptr;  // the (sub)menu that holds the item
    UINT position = 0;
};

// The item of the command `id`, searched through every submenu.
std::optional<MenuPlace> findCommandItem(HMENU menu, UINT id);
// The item that opens `submenu`.
std::optional<MenuPlace> findSubmenuItem(HMENU menu, HMENU submenu);
// The item that opens the submenu holding the command `id` directly.
std::optional<MenuPlace> findSubmenuHolding(HMENU menu, UINT id);

// Removes the item of command `id` with a separator that its removal would leave doubled or at
// the top of its submenu. False when the menu has no such item.
bool removeCommandItem(HMENU menu, UINT id);

}  // namespace lumetra::win
