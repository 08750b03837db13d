#include "base/file_io.h"

namespace lumetra {

std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path pathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

bool readWholeFile(FileSystem& files, const std::filesystem::path& path,
                   std::vector<std::uint8_t>& bytes, std::string& message,
                   std::uintmax_t maxBytes) {
    switch (files.read(path, bytes, maxBytes)) {
        case ReadOutcome::Read:
            return true;
        case ReadOutcome::CannotOpen:
            message = "Could not open " + utf8FromPath(path);
            break;
        case ReadOutcome::TooLarge:
            message = "Picture too large";
            break;
        case ReadOutcome::CannotRead:
            message = "Could not read " + utf8FromPath(path);
            break;
    }
    bytes.clear();
    return false;
}

std::filesystem::path pendingFileName(const std::filesystem::path& target) {
    std::filesystem::path pending = target;
    pending += ".saving";
    return pending;
}

bool writeAndReplace(FileSystem& files, const std::filesystem::path& pending,
                     const std::filesystem::path& target,
                     std::initializer_list<std::span<const std::uint8_t>> pieces) {
    const std::unique_ptr<FileSink> sink = files.create(pending);
    if (!sink) return false;
    bool written = true;
    for (auto piece : pieces)
        written = written && sink->write(piece.data(), piece.size()) == piece.size();
    written = sink->close() && written;
    if (written && files.replace(pending, target)) return true;
    files.remove(pending);
    return false;
}

bool replaceFileWith(FileSystem& files, const std::filesystem::path& target,
                     std::initializer_list<std::span<const std::uint8_t>> pieces) {
    return writeAndReplace(files, pendingFileName(target), target, pieces);
}

}  // namespace lumetra
