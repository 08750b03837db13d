#include "shell/win/program_browser_host.h"

#include "base/win/folder_browser.h"
#include "base/win/utf16.h"
#include "shell/win/commands.h"
#include "shell/win/image_commands.h"
#include "shell/win/program.h"

namespace lumetra::win {

void ProgramBrowserHost::filterWithFile(const std::filesystem::path& file) {
    filterFromBrowserFile(program_, file);
}

void ProgramBrowserHost::openWorkingCopy(const std::filesystem::path& file) {
    win::openWorkingCopy(program_, file);
}

std::optional<std::filesystem::path> ProgramBrowserHost::chooseFolder(
    const std::filesystem::path& start, const std::string& title) {
    ModalScope modal(program_.tools);
    const auto chosen = browseForFolder(program_.mainWindow, start.wstring(), toUtf16(title));
    if (!chosen) return std::nullopt;
    return std::filesystem::path(*chosen);
}

std::filesystem::path ProgramBrowserHost::filterFolder() {
    return program_.settings.folders.filterFolder;
}

void ProgramBrowserHost::setFilterFolder(const std::filesystem::path& folder) {
    program_.settings.folders.filterFolder = folder;
}

}  // namespace lumetra::win
