#include "browser/folder_scan.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace lumetra {
namespace {

using PathText = std::filesystem::path::string_type;

constexpr std::array<std::string_view, 6> kKinds{"BMP", "GIF", "JPG", "EMF", "WMF", "ICO"};
using PathChar = PathText::value_type;

bool isSeparator(PathChar c) {
    return c == PathChar('/') || c == std::filesystem::path::preferred_separator;
}

PathChar asciiLower(PathChar c) {
    return c >= PathChar('A') && c <= PathChar('Z') ? PathChar(c - 'A' + 'a') : c;
}

// Whether `text` ends in `ending`, exactly or without regard to case.
bool endsWith(const PathText& text, std::string_view ending, bool ignoreCase) {
    if (text.size() < ending.size()) return false;
    const std::size_t start = text.size() - ending.size();
    for (std::size_t i = 0; i < ending.size(); ++i) {
        PathChar a = text[start + i], b = PathChar(static_cast<unsigned char>(ending[i]));
        if (ignoreCase) {
            a = asciiLower(a);
            b = asciiLower(b);
        }
        if (a != b) return false;
    }
    return true;
}

std::string_view lastExtensionPart(std::string_view extension) {
    const std::size_t dot = extension.rfind('.');
    return dot == std::string_view::npos ? extension : extension.substr(dot + 1);
}

bool isShortNameCharacter(PathChar c) {
    constexpr std::string_view kMarks = "!#$%&'()-@^_`{}~";
    return (c >= PathChar('0') && c <= PathChar('9')) ||
           (c >= PathChar('A') && c <= PathChar('Z')) ||
           (c >= PathChar('a') && c <= PathChar('z')) ||
           (std::uint32_t(c) < 128u && kMarks.find(char(c)) != std::string_view::npos);
}

// Whether a name is a short (8.3) name itself: up to 8 characters, a dot and up to 3 more.
bool isShortName(const PathText& name) {
    const std::size_t dot = name.find(PathChar('.'));
    const std::size_t base = dot == PathText::npos ? name.size() : dot;
    const std::size_t extension = dot == PathText::npos ? 0 : name.size() - dot - 1;
    if (base < 1 || base > 8 || extension > 3 || (dot != PathText::npos && extension == 0))
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (i != dot && !isShortNameCharacter(name[i])) return false;
    return true;
}

// The short name the rule looks at. A file system keeps no separate short name for a name that
// is one already; the name then stands for itself in capitals, as a short name is held.
PathText shortNameOf(const FolderEntry& entry) {
    if (!entry.shortName.empty() || !isShortName(entry.name.native()))
        return entry.shortName.native();
    PathText upper = entry.name.native();
    for (PathChar& c : upper)
        if (c >= PathChar('a') && c <= PathChar('z')) c = PathChar(c - 'a' + 'A');
    return upper;
}

bool isHidden(const std::filesystem::path& name) {
    return !name.native().empty() && name.native().front() == PathChar('.');
}

void scanInto(FileSystem& files, const std::filesystem::path& folder, std::string_view extension,
              int depth, std::vector<std::filesystem::path>& known, ScanResult& result) {
    const auto entries = files.listFolder(folder);
    if (!entries) return;
    int count = 0;
    for (const FolderEntry& entry : *entries) {
        if (!entry.directory) {
            if (endsWith(entry.name.native(), extension, true)) ++count;
        } else if (depth >= 1 && !isHidden(entry.name)) {
            ScanResult inner;
            scanInto(files, withTrailingSeparator(folder) / entry.name, extension, depth - 1, known,
                     inner);
            count += inner.count;
            result.newTabs.insert(result.newTabs.end(), inner.newTabs.begin(), inner.newTabs.end());
        }
    }
    result.count += count;
    if (depth != 0 || count < 1) return;
    const std::filesystem::path tab = withTrailingSeparator(folder);
    const bool tabbed = std::any_of(known.begin(), known.end(),
                                    [&](const auto& t) { return t.native() == tab.native(); });
    if (tabbed) return;
    known.push_back(tab);
    result.newTabs.push_back(tab);
}

}  // namespace

ScanResult scanFolder(FileSystem& files, const std::filesystem::path& folder,
                      std::string_view extension, int depth,
                      const std::vector<std::filesystem::path>& tabs) {
    ScanResult result;
    if (folder.empty()) return result;
    std::vector<std::filesystem::path> known = tabs;
    scanInto(files, folder, lastExtensionPart(extension), depth, known, result);
    return result;
}

std::filesystem::path withTrailingSeparator(const std::filesystem::path& folder) {
    PathText text = folder.native();
    if (text.empty() || !isSeparator(text.back()))
        text += std::filesystem::path::preferred_separator;
    return std::filesystem::path(text);
}

std::filesystem::path tabTitle(const std::filesystem::path& tabFolder) {
    PathText text = tabFolder.native();
    while (!text.empty() && isSeparator(text.back()))
        text.pop_back();
    const auto last = std::find_if(text.rbegin(), text.rend(), isSeparator);
    return std::filesystem::path(PathText(last.base(), text.end()));
}

bool endsWithIgnoringCase(const std::filesystem::path& name, std::string_view ending) {
    return endsWith(name.native(), ending, true);
}

bool takesThumbnail(const FolderEntry& entry) {
    if (entry.directory) return false;
    const PathText shortName = shortNameOf(entry);
    return std::any_of(kKinds.begin(), kKinds.end(), [&](std::string_view kind) {
        return endsWith(entry.name.native(), kind, false) || endsWith(shortName, kind, false);
    });
}

std::vector<std::filesystem::path> thumbnailNames(const std::vector<FolderEntry>& entries) {
    std::vector<std::filesystem::path> names;
    for (const FolderEntry& entry : entries)
        if (takesThumbnail(entry)) names.push_back(entry.name);
    return names;
}

}  // namespace lumetra
