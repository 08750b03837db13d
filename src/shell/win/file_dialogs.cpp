#include "shell/win/file_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "base/win/utf16.h"
#include "shell/win/program.h"

namespace lumetra::win {
namespace {

// Room for a path of any length the file system allows, so that a long path can be chosen.
constexpr std::size_t kFileNameChars = 32768;
constexpr std::size_t kFileTitleChars = 256;

}  // namespace

std::wstring dialogFilter(const FileDialogSpec& dialogSpec) {
    std::wstring filter;
    for (const FileFilter& f : dialogSpec.filters) {
        filter += toUtf16(f.description);
        filter += L'\0';
        filter += toUtf16(f.pattern);
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

DWORD dialogFlags(const FileDialogSpec& dialogSpec) {
    DWORD flags = OFN_EXPLORER;
    if (dialogSpec.fileMustExist) flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (dialogSpec.overwritePrompt) flags |= OFN_OVERWRITEPROMPT;
    if (dialogSpec.hideReadOnly) flags |= OFN_HIDEREADONLY;
    return flags;
}

std::optional<ChosenFile> askForFile(Program& program, FileDialogKind kind,
                                     const std::filesystem::path& folder,
                                     const std::wstring& name) {
    const FileDialogSpec dialogSpec = fileDialogSpec(kind);
    const std::wstring title = toUtf16(dialogSpec.title);
    const std::wstring filter = dialogFilter(dialogSpec);
    const std::wstring extension = toUtf16(dialogSpec.defaultExtension);
    const std::wstring initial = folder.wstring();

    std::vector<wchar_t> file(kFileNameChars, L'\0');
    std::vector<wchar_t> fileTitle(kFileTitleChars, L'\0');
    if (kind != FileDialogKind::OpenBitmap) name.copy(file.data(), file.size() - 1);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = program.mainWindow;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = DWORD(file.size());
    dialog.lpstrFileTitle = fileTitle.data();
    dialog.nMaxFileTitle = DWORD(fileTitle.size());
    dialog.lpstrInitialDir = initial.empty() ? nullptr : initial.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = dialogFlags(dialogSpec);

    ModalScope modal(program.tools);
    const BOOL confirmed = dialogSpec.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!confirmed) return std::nullopt;
    return ChosenFile{std::filesystem::path(file.data()), std::wstring(fileTitle.data())};
}

}  // namespace lumetra::win
