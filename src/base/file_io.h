#pragma once
// Whole-file reading and writing for the program's own file formats. Writing never leaves a
// half-written file under the user's name: the bytes go to a file beside the target, which
// replaces the target only when everything has been written and closed.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace lumetra {

// The path as UTF-8 text, for messages.
std::string pathText(const std::filesystem::path& path);

// Reads the whole file. Fails with a message for a missing or unreadable file and for files
// longer than `maxBytes`.
bool readWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                   std::string& message, std::uintmax_t maxBytes);

// The name of the file a save writes before it replaces `target`.
std::filesystem::path pendingFileName(const std::filesystem::path& target);

// Writes the pieces one after the other into a file beside `target` and then moves that file over
// `target`. On any failure the target is left as it was and the partial file is removed.
bool replaceFileWith(const std::filesystem::path& target,
                     std::initializer_list<std::span<const std::uint8_t>> pieces);

}  // namespace lumetra
