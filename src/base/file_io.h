#pragma once
// Whole-file reading and writing for the program's own file formats, through the FileSystem port.
// Writing never leaves a half-written file under the user's name: the bytes go to a file beside
// the target, which replaces the target in one step (FileSystem::replace) only when everything
// has been written and closed. On any failure the target is left as it was and the partial file
// is removed.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "base/file_system.h"

namespace lumetra {

// A path as UTF-8 text (for messages and stored settings), and back, without any code-page
// conversion on the way.
std::string utf8FromPath(const std::filesystem::path& path);
std::filesystem::path pathFromUtf8(const std::string& text);

// Reads the whole file. Fails with a message for a missing or unreadable file and for files
// longer than `maxBytes`.
bool readWholeFile(FileSystem& files, const std::filesystem::path& path,
                   std::vector<std::uint8_t>& bytes, std::string& message, std::uintmax_t maxBytes);

// The name of the file a save writes before it replaces `target`.
std::filesystem::path pendingFileName(const std::filesystem::path& target);

// Writes the pieces one after the other into `pending` and then moves that file over `target`.
bool writeAndReplace(FileSystem& files, const std::filesystem::path& pending,
                     const std::filesystem::path& target,
                     std::initializer_list<std::span<const std::uint8_t>> pieces);

// The same through the file named by pendingFileName(target).
bool replaceFileWith(FileSystem& files, const std::filesystem::path& target,
                     std::initializer_list<std::span<const std::uint8_t>> pieces);

}  // namespace lumetra
