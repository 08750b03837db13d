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

void setStartTitle(const Program& program) {
    if (program.mainWindow) SetWindowTextW(program.mainWindow, startTitle().c_str());
}

void setImageTitle(const Program& program, std::wstring_view displayName) {
    if (program.mainWindow) SetWindowTextW(program.mainWindow, imageTitle(displayName).c_str());
}

}  // namespace lumetra::win
