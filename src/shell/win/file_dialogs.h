#pragma once
// The program's file dialogs: open bitmap, save bitmap and save sound, with the titles, filters
// and options of the core's dialog table.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "shell/folder_choice.h"

namespace lumetra::win {

struct ChosenFile {
    std::filesystem::path path;
    std::wstring title;  // the file name part as the dialog returned it
};

using FileDialogKind = lumetra::FileDialogKind;

struct Program;

// Shows the dialog of that kind over the main window, starting in `folder`, with `name` in the
// file-name field (the save dialogs). The tool windows are disabled while it is up. Nothing when
// the user cancels.
std::optional<ChosenFile> askForFile(Program& program, FileDialogKind kind,
                                     const std::filesystem::path& folder,
                                     const std::wstring& name = {});

// The dialog's filter in the platform's form: description and pattern pairs, each ending in a
// zero, the list ending in one more.
std::wstring dialogFilter(const FileDialogSpec& dialogSpec);
// The OPENFILENAME flags of a dialog.
DWORD dialogFlags(const FileDialogSpec& dialogSpec);

}  // namespace lumetra::win
