#pragma once
// The program's file dialogs: open bitmap, save bitmap and save sound.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace lumetra::win {

struct ChosenFile {
    std::filesystem::path path;
    std::wstring title;  // the file name part as the dialog returned it
};

enum class FileDialogKind { OpenBitmap, SaveBitmap, SaveSound };

// Shows the dialog of that kind starting in `folder`, with `name` in the file-name field (save
// sound only). The tool windows are disabled while it is up if they were enabled. Nothing when
// the user cancels.
std::optional<ChosenFile> askForFile(HWND owner, FileDialogKind kind,
                                     const std::filesystem::path& folder,
                                     const std::wstring& name = {});

}  // namespace lumetra::win
