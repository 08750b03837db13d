#include "document/save_names.h"

#include <cctype>

#include "base/file_io.h"

namespace lumetra {
namespace {

bool endsWithBmp(const std::string& name) {
    static constexpr char kEnding[] = ".bmp";
    constexpr std::size_t n = sizeof kEnding - 1;
    if (name.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(name[name.size() - n + i]);
        if (std::tolower(c) != kEnding[i]) return false;
    }
    return true;
}

}  // namespace

bool isBmpName(const std::filesystem::path& path) {
    return endsWithBmp(utf8FromPath(path.filename()));
}

std::filesystem::path bmpSaveName(const std::filesystem::path& typed) {
    if (isBmpName(typed)) return typed;
    return pathFromUtf8(utf8FromPath(typed) + ".bmp");
}

std::string proposedBmpName(const std::string& displayName) {
    if (displayName.empty()) return {};
    if (endsWithBmp(displayName)) return displayName;
    const std::size_t dot = displayName.rfind('.');
    return (dot == std::string::npos || dot == 0 ? displayName : displayName.substr(0, dot)) +
           ".bmp";
}

std::string saveChangesQuestion(const std::string& displayName) {
    return "Save changes to " + (displayName.empty() ? std::string("Untitled") : displayName) + "?";
}

std::string savedStatus(const std::string& displayName) {
    return "Saved " + displayName;
}

}  // namespace lumetra
