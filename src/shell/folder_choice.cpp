#include "shell/folder_choice.h"

#include "base/file_io.h"

namespace lumetra {
namespace {

constexpr FileFilter kBitmapFilter{"Bitmap files (*.bmp, *.gif, *.jpg, *.emf, *.wmf)",
                                   "*.bmp;*.gif;*.jpg;*.jpeg;*.emf;*.wmf"};
constexpr FileFilter kWavFilter{"PCM Wav files (*.wav)", "*.wav"};
constexpr FileFilter kAllFilter{"All files (*.*)", "*.*"};

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : (c == '/' ? '\\' : c);
}

// Drops trailing separators, but keeps the one of a drive root ("C:\").
std::string_view withoutTrailingSeparators(std::string_view path) {
    while (path.size() > 1 && isSeparator(path.back())) {
        if (path.size() == 3 && path[1] == ':') break;
        path.remove_suffix(1);
    }
    return path;
}

}  // namespace

FileDialogSpec fileDialogSpec(FileDialogKind kind) {
    switch (kind) {
        case FileDialogKind::OpenBitmap:
            return FileDialogSpec{false, "Open a bitmap file", {kBitmapFilter}, "", true, false,
                                  false};
        case FileDialogKind::SaveBitmap:
            return FileDialogSpec{true, "Save Bitmap", {kBitmapFilter}, "bmp", false, true, true};
        case FileDialogKind::SaveSound:
            return FileDialogSpec{
                true, "Save Soundfile", {kWavFilter, kAllFilter}, "wav", false, true, true};
        case FileDialogKind::OpenSound:
            return FileDialogSpec{
                false, "Analyze a soundfile", {kWavFilter, kAllFilter}, "", true, false, false};
    }
    return {};
}

FileDialogStart fileDialogStart(FileDialogKind kind, const ProgramFolders& folders,
                                std::string_view fileNameBuffer, std::string_view fileTitleBuffer) {
    switch (kind) {
        case FileDialogKind::OpenBitmap:
            return {folders.imageFolder, ""};
        case FileDialogKind::SaveBitmap:
            return {pathFromUtf8(folderOfPath(fileNameBuffer)), ""};
        case FileDialogKind::SaveSound:
            return {folders.soundfileFolder, std::string(fileTitleBuffer)};
        case FileDialogKind::OpenSound:
            return {folders.soundfileFolder, ""};
    }
    return {};
}

bool sameFolder(std::string_view a, std::string_view b) {
    a = withoutTrailingSeparators(a);
    b = withoutTrailingSeparators(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

std::optional<FolderCommand> folderCommand(int command) {
    if (command == 402)
        return FolderCommand{"Select Default Filter Folder",
                             "Filter path: ", &ProgramFolders::filterFolder};
    if (command == 412)
        return FolderCommand{"Select Default Soundfile Folder",
                             "Soundfile path: ", &ProgramFolders::soundfileFolder};
    return std::nullopt;
}

std::optional<std::string> applyFolderChoice(int command, ProgramFolders& folders,
                                             std::string_view chosen) {
    const auto target = folderCommand(command);
    if (!target || !hasDriveLetter(chosen)) return std::nullopt;
    std::filesystem::path& folder = folders.*(target->folder);
    if (sameFolder(utf8FromPath(folder), chosen)) return std::nullopt;
    folder = pathFromUtf8(std::string(chosen));
    return std::string(target->statusPrefix) + std::string(chosen);
}

}  // namespace lumetra
