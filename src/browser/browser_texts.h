#pragma once
// The image browser's texts and paths that need no window: its captions, the path of a working
// copy, and where Add Folder starts.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace lumetra {

inline constexpr const char* kBrowserTitle = "Image Browser";
inline constexpr const char* kAddFolderTitle = "Select Additional Image Folder";
inline constexpr const char* kNoImagesAtStartText =
    "The current Lumetra filter folder or its subfolders do not contain any images!\n"
    "You can set the Filter base directory from the menu\nOptions | Select Filter Folder";
inline constexpr const char* kNoImagesAtStartCaption = "Image Browser Warning";
inline constexpr const char* kNoImagesInFolderCaption = "Image Browser warning!";
inline constexpr const char* kWorkingCopySuffix = "_copy.bmp";

// The caption while a file is selected: "name - Image Browser".
std::string browserCaption(const std::filesystem::path& fileName);

// The filter group's caption shows the three slider positions, in the long form while it fits
// the group box and in the short form when the box is narrowed.
enum class FilterCaptionForm { Long, Short };
std::string filterCaption(FilterCaptionForm form, std::int32_t red, std::int32_t green,
                          std::int32_t blue);
// The long form (filled with 100, 100, 100) fits while its width stays below the group box's
// width less 20 pixels.
FilterCaptionForm filterCaptionForm(int longCaptionWidth, int groupWidth);

// The question before an added folder is scanned, and the warning when it holds no images.
std::string subfolderQuestion(const std::filesystem::path& folder);
std::string noImagesInFolderText(const std::filesystem::path& folder);

// Where a working copy of a browser image is kept: the file's path with "_copy.bmp" appended,
// unless it already ends in "_copy.bmp" in any letter case, so that saving it never writes over
// the browser's image.
std::filesystem::path workingCopyPath(const std::filesystem::path& file);

// Where Add Folder's folder browser starts: the parent of the current tab's folder (its text
// without the trailing separator, when longer than 5 characters, cut after its last separator),
// or the filter folder when there is no tab.
std::filesystem::path addFolderStart(const std::optional<std::filesystem::path>& currentTab,
                                     const std::filesystem::path& filterFolder);

}  // namespace lumetra
