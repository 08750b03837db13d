#pragma once
// Which folders of a tree become tabs of the image browser, and which of a tab's files get a
// thumbnail. A folder becomes a tab when it holds at least one file with the browser's extension
// ("bmp"); a scan with depth looks into the subfolders instead of the folder itself, so that a
// filter root shows its subfolders as tabs.

#include <filesystem>
#include <string_view>
#include <vector>

#include "base/file_system.h"

namespace lumetra {

struct ScanResult {
    int count = 0;  // files with the extension, in the folder or (with depth) its subfolders
    // The folders that became tabs, in the order found, each ending in a separator.
    std::vector<std::filesystem::path> newTabs;
};

// Counts the files whose names end in `extension` (only its part after the last "."; letter case
// does not count, and no dot is needed: "xbmp" counts for "bmp"; an empty extension counts every
// file). While `depth` is 1 or more, each subfolder whose name does not begin with "." is scanned
// with depth - 1 and its count added; the folder itself then gets no tab. At depth 0 a folder with
// a count of 1 or more becomes a new tab unless `tabs` (or an earlier find of this scan) already
// holds it, compared character for character. A folder that cannot be listed counts 0.
ScanResult scanFolder(FileSystem& files, const std::filesystem::path& folder,
                      std::string_view extension, int depth,
                      const std::vector<std::filesystem::path>& tabs);

// The folder with one separator at its end, as tabs keep it.
std::filesystem::path withTrailingSeparator(const std::filesystem::path& folder);
// A tab's title: the folder's last component (the text between the last two separators).
std::filesystem::path tabTitle(const std::filesystem::path& tabFolder);

// Whether a name ends in `ending`, letters compared without regard to (ASCII) case.
bool endsWithIgnoringCase(const std::filesystem::path& name, std::string_view ending);

// A thumbnail is tried for a file whose name, or short name, ends in one of "BMP", "GIF", "JPG",
// "EMF", "WMF", "ICO" in capitals exactly: a long name in small letters shows through its short
// name, which the platform keeps in capitals. A name that is a short (8.3) name itself has no
// separate short name on today's file systems; it counts as its own short name in capitals.
bool takesThumbnail(const FolderEntry& entry);
// The names of the entries that take a thumbnail, in listing order.
std::vector<std::filesystem::path> thumbnailNames(const std::vector<FolderEntry>& entries);

}  // namespace lumetra
