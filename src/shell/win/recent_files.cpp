#include "shell/win/recent_files.h"

namespace lumetra::win {

// The list and its menu arrive with the settings store; until then nothing is remembered.
std::wstring recentFilePath(int) {
    return {};
}
void addRecentFile(const std::wstring&) {}

}  // namespace lumetra::win
