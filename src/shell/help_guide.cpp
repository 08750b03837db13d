#include "shell/help_guide.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/file_io.h"
#include "shell/program_folders.h"

namespace lumetra {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kSections{{
    {"Brush toolbox", "brush-toolbox"},
    {"Echord toolbox", "echord-toolbox"},
    {"Image Browser", "image-browser"},
    {"Render options", "render-options"},
}};

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool keptInUrl(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/' || c == ':';
}

constexpr std::string_view kHex = "0123456789ABCDEF";

std::string escapedPath(std::string_view path) {
    std::string out;
    for (char ch : path) {
        const auto c = static_cast<unsigned char>(ch == '\\' ? '/' : ch);
        if (keptInUrl(c)) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

// "\\?\C:\x" is "C:\x" and "\\?\UNC\host\share" is "\\host\share".
std::string_view withoutLongPrefix(std::string_view path, std::string& unc) {
    constexpr std::string_view kLong = "\\\\?\\";
    constexpr std::string_view kLongUnc = "\\\\?\\UNC\\";
    if (path.starts_with(kLongUnc)) {
        unc = "\\\\" + std::string(path.substr(kLongUnc.size()));
        return unc;
    }
    return path.starts_with(kLong) ? path.substr(kLong.size()) : path;
}

bool isFile(FileSystem& files, const std::string& path) {
    const auto found = files.attributes(pathFromUtf8(path));
    return found && !found->directory;
}

}  // namespace

std::string_view guideAnchor(std::string_view keyword) {
    for (const auto& [name, anchor] : kSections)
        if (sameIgnoringCase(name, keyword)) return anchor;
    return {};
}

std::string fileUrl(std::string_view windowsPath, std::string_view anchor) {
    std::string unc;
    const std::string_view path = withoutLongPrefix(windowsPath, unc);
    const bool network = path.starts_with("\\\\") || path.starts_with("//");
    std::string url = network ? "file:" : "file:///";
    url += escapedPath(path);
    if (!anchor.empty()) {
        url += '#';
        url += anchor;
    }
    return url;
}

HelpPlan planHelp(FileSystem& files, std::string_view programFolder, bool helpEngine,
                  std::string_view keyword) {
    const std::string folder = ensureTrailingBackslash(programFolder);
    const std::string helpFile = folder + std::string(kHelpFileName);
    if (helpEngine && isFile(files, helpFile))
        return {HelpRoute::HelpFile, helpFile, std::string(keyword), {}};
    const std::string guide = folder + std::string(kGuidePage);
    if (!isFile(files, guide)) return {HelpRoute::NoHelp, guide, {}, {}};
    return {HelpRoute::Guide, guide, std::string(keyword), fileUrl(guide, guideAnchor(keyword))};
}

std::string missingGuideText(std::string_view guidePage) {
    return "The Lumetra user guide is missing.\nIt belongs in " + std::string(guidePage) +
           "\n\nInstalling Lumetra again puts it back.";
}

std::string openCommandLine(std::string_view command, std::string_view url) {
    std::string out;
    bool placed = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        if (command[i] != '%' || i + 1 == command.size()) {
            out += command[i];
            continue;
        }
        const char code = command[++i];
        if (code == '1' || lowerAscii(code) == 'l' || lowerAscii(code) == 'v') {
            out += url;
            placed = true;
        } else if (code == '%') {
            out += '%';
        } else if (!(code == '*' || (code >= '2' && code <= '9') || lowerAscii(code) == 'i' ||
                     lowerAscii(code) == 'd')) {
            out += '%';
            out += code;
        }
    }
    if (!placed) out += " \"" + std::string(url) + "\"";
    return out;
}

}  // namespace lumetra
