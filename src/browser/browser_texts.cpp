#include "browser/browser_texts.h"

#include "base/file_io.h"
#include "base/format_text.h"
#include "browser/folder_scan.h"

namespace lumetra {
namespace {

using PathText = std::filesystem::path::string_type;

bool isSeparator(PathText::value_type c) {
    return c == '/' || c == std::filesystem::path::preferred_separator;
}

}  // namespace

std::string browserCaption(const std::filesystem::path& fileName) {
    return utf8FromPath(fileName) + " - " + kBrowserTitle;
}

std::string filterCaption(FilterCaptionForm form, std::int32_t red, std::int32_t green,
                          std::int32_t blue) {
    return form == FilterCaptionForm::Long
               ? formatText("Filter (R: %3d%%, G: %3d%%, B: %3d%%)", red, green, blue)
               : formatText("Filter (R %d, G %d, B %d%%)", red, green, blue);
}

FilterCaptionForm filterCaptionForm(int longCaptionWidth, int groupWidth) {
    return longCaptionWidth >= groupWidth - 20 ? FilterCaptionForm::Short : FilterCaptionForm::Long;
}

std::string subfolderQuestion(const std::filesystem::path& folder) {
    return "Do you want to load subfolders of \n" + utf8FromPath(folder) + "?";
}

std::string noImagesInFolderText(const std::filesystem::path& folder) {
    return utf8FromPath(folder) + "\nThis folder does not contain any images!";
}

std::filesystem::path workingCopyPath(const std::filesystem::path& file) {
    if (endsWithIgnoringCase(file, kWorkingCopySuffix)) return file;
    return std::filesystem::path(file.native() +
                                 std::filesystem::path(kWorkingCopySuffix).native());
}

std::filesystem::path addFolderStart(const std::optional<std::filesystem::path>& currentTab,
                                     const std::filesystem::path& filterFolder) {
    if (!currentTab) return filterFolder;
    PathText text = currentTab->native();
    if (text.size() > 5 && isSeparator(text.back())) text.pop_back();
    std::size_t last = text.size();
    while (last > 0 && !isSeparator(text[last - 1]))
        --last;
    if (last > 0) text.resize(last);
    return std::filesystem::path(text);
}

}  // namespace lumetra
