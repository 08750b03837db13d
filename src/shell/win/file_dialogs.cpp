#include "shell/win/file_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "shell/win/app_state.h"
#include "shell/win/tool_windows.h"

namespace lumetra::win {
namespace {

// Filters: pairs of description and pattern, each zero-terminated, the list ending in two zeros.
constexpr wchar_t kBitmapFilter[] =
    L"Bitmap files (*.bmp, *.gif, *.jpg, *.emf, *.wmf)\0*.bmp;*.gif;*.jpg;*.jpeg;*.emf;*.wmf\0";
constexpr wchar_t kSoundFilter[] = L"PCM Wav files (*.wav)\0*.wav\0All files (*.*)\0*.*\0";

}  // namespace

std::optional<ChosenFile> askForFile(HWND owner, FileDialogKind kind,
                                     const std::filesystem::path& folder,
                                     const std::wstring& name) {
    std::vector<wchar_t> file(MAX_PATH, L'\0');
    std::vector<wchar_t> title(256, L'\0');
    if (kind == FileDialogKind::SaveSound) name.copy(file.data(), file.size() - 1);
    const std::wstring initial = folder.wstring();

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = DWORD(file.size());
    dialog.lpstrFileTitle = title.data();
    dialog.nMaxFileTitle = DWORD(title.size());
    dialog.lpstrInitialDir = initial.empty() ? nullptr : initial.c_str();
    dialog.Flags = OFN_EXPLORER;
    switch (kind) {
        case FileDialogKind::OpenBitmap:
            dialog.lpstrTitle = L"Open a bitmap file";
            dialog.lpstrFilter = kBitmapFilter;
            dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
            break;
        case FileDialogKind::SaveBitmap:
            dialog.lpstrTitle = L"Save Bitmap";
            dialog.lpstrFilter = kBitmapFilter;
            dialog.lpstrDefExt = L"bmp";
            dialog.Flags |= OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
            break;
        case FileDialogKind::SaveSound:
            dialog.lpstrTitle = L"Save Soundfile";
            dialog.lpstrFilter = kSoundFilter;
            dialog.lpstrDefExt = L"wav";
            dialog.Flags |= OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
            break;
    }
    const bool wereEnabled = appState().toolWindowsEnabled;
    if (wereEnabled) enableToolWindows(false);
    BOOL confirmed =
        kind == FileDialogKind::OpenBitmap ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (wereEnabled) enableToolWindows(true);
    if (!confirmed) return std::nullopt;
    return ChosenFile{std::filesystem::path(file.data()), std::wstring(title.data())};
}

}  // namespace lumetra::win
