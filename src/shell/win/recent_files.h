#pragma once
// The recent-files list as the shell sees it: the stored path of an entry (ids 3400 to 3410).

#include <string>

namespace lumetra::win {

// The stored path of entry `index` (0 = oldest); empty when there is none.
std::wstring recentFilePath(int index);
// Adds a successfully opened image.
void addRecentFile(const std::wstring& path);

}  // namespace lumetra::win
