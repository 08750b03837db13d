#pragma once
// The browser's thumbnail lists: their cell size and what is read back from them.

#include <windows.h>

#include <cstddef>
#include <string>

namespace lumetra::win {

// Each cell holds a 64 x 50 thumbnail with a 2-pixel margin that shows the selection.
inline constexpr int kCellWidth = 68;
inline constexpr int kCellHeight = 54;

// The text of an item; empty when there is none.
std::wstring listText(HWND list, int index);
// The list index of the item whose data is `item`, found by its name first; -1 when gone.
int listIndexOf(HWND list, const std::wstring& name, std::size_t item);

}  // namespace lumetra::win
