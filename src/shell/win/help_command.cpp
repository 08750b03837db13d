#include "shell/win/help_command.h"

#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>
#include <winver.h>

#include <cstddef>
#include <cwchar>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/win/unique_handle.h"
#include "base/win/utf16.h"
#include "shell/help_guide.h"
#include "shell/win/program.h"

namespace lumetra::win {
namespace {

// The text of a version resource's field in the file's first language, or empty.
std::wstring versionText(const std::wstring& file, const wchar_t* field) {
    DWORD ignored = 0;
    std::vector<std::byte> info(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    if (info.empty() || !GetFileVersionInfoW(file.c_str(), 0, DWORD(info.size()), info.data()))
        return {};
    WORD* language = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&language), &size) ||
        size < 2 * sizeof(WORD)) {
        return {};
    }
    wchar_t path[64] = {};
    swprintf(path, std::size(path), L"\\StringFileInfo\\%04x%04x\\%ls", language[0], language[1],
             field);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(info.data(), path, reinterpret_cast<void**>(&text), &size) || !text)
        return {};
    return text;
}

// The engine of classic help files, winhlp32.exe in the Windows folder. Current systems keep
// only a stub of that name, which says that such files are no longer shown: it is no engine.
bool helpEngineInstalled() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::wstring engine = std::wstring(folder, length) + L"\\winhlp32.exe";
    if (GetFileAttributesW(engine.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    return versionText(engine, L"FileDescription").find(L"Stub") == std::wstring::npos;
}

std::wstring expandEnvironment(const std::wstring& text) {
    const DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (size == 0) return text;
    std::wstring expanded(size, L'\0');
    if (ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size) != size) return text;
    expanded.resize(size - 1);
    return expanded;
}

// The open command of the program the user has for web pages; empty when there is none.
std::wstring webPageOpenCommand() {
    wchar_t command[4096] = {};
    DWORD size = DWORD(std::size(command));
    if (AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, L".html", L"open", command, &size) !=
        S_OK) {
        return {};
    }
    return expandEnvironment(command);
}

bool runCommandLine(std::wstring line) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return false;
    }
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
    return true;
}

// The browser gets the URL with its section; the shell's own opening of the page is the
// fallback (it loses the section: a plain path has no fragment).
void openGuide(Program& program, const HelpPlan& plan) {
    const std::wstring command = webPageOpenCommand();
    if (!command.empty() && runCommandLine(toUtf16(openCommandLine(toUtf8(command), plan.url)))) {
        return;
    }
    const std::wstring page = toUtf16(plan.file);
    const auto done = reinterpret_cast<INT_PTR>(
        ShellExecuteW(program.mainWindow, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (done <= 32) program.ui.warn(L"Could not open the user guide " + page);
}

bool openHelpFile(Program& program, const HelpPlan& plan) {
    const std::wstring file = toUtf16(plan.file);
    const std::wstring keyword = toUtf16(plan.keyword);
    const BOOL shown = keyword.empty()
                           ? WinHelpW(program.mainWindow, file.c_str(), HELP_CONTENTS, 0)
                           : WinHelpW(program.mainWindow, file.c_str(), HELP_KEY,
                                      reinterpret_cast<ULONG_PTR>(keyword.c_str()));
    if (shown) program.openHelp = {program.mainWindow, file};
    return shown != FALSE;
}

}  // namespace

void helpCommand(Program& program, int) {
    ToolWindow* active = activeToolWindow(program.tools);
    const std::string keyword = active ? toUtf8(active->helpKeyword()) : "";
    const std::string folder = utf8FromPath(program.settings.folders.baseFolder);
    HelpPlan plan = planHelp(program.files, folder, helpEngineInstalled(), keyword);
    // A help file that its engine cannot show leaves the guide.
    if (plan.route == HelpRoute::HelpFile && !openHelpFile(program, plan))
        plan = planHelp(program.files, folder, false, keyword);
    if (plan.route == HelpRoute::Guide) openGuide(program, plan);
    if (plan.route == HelpRoute::NoHelp) program.ui.warn(toUtf16(missingGuideText(plan.file)));
}

void releaseHelp(Program& program) {
    if (program.openHelp.file.empty()) return;
    WinHelpW(program.openHelp.owner, program.openHelp.file.c_str(), HELP_QUIT, 0);
    program.openHelp = {};
}

}  // namespace lumetra::win
