#include "shell/win/window_title.h"

#include <windows.h>

#include "base/win/text.h"
#include "shell/win/program.h"

namespace lumetra::win {

std::wstring startTitle() {
    return formatText(399, L"%ls - %ls", kProgramName, kSubtitle);
}

std::wstring imageTitle(std::wstring_view displayName) {
    std::wstring name(displayName);
    return formatText(399, L"%ls - %ls", name.c_str(), kProgramName);
}

std::wstring titleForDisplayName(std::wstring_view displayName) {
    return displayName.empty() ? startTitle() : imageTitle(displayName);
}

std::wstring documentTitle(std::wstring_view displayName, bool modified) {
    return (modified ? L"*" : L"") + titleForDisplayName(displayName);
}

void setStartTitle(const Program& program) {
    if (program.mainWindow) SetWindowTextW(program.mainWindow, startTitle().c_str());
}

}  // namespace lumetra::win
