#pragma once
// The file system, and the process's place in it, as the core sees it. Paths are
// std::filesystem::path everywhere. The Win32 program uses the wide API (and replaces files in one
// step with the platform's own call); the batch tools and native builds use the C and C++
// libraries (StandardFileSystem); tests use a file system in memory that can be made to fail.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumetra {

// The system's own number and text for the last failed call (GetLastError / errno).
struct SystemError {
    int code = 0;
    std::string text;
};

struct EntryAttributes {
    bool directory = false;
    bool readOnly = false;
};

// One file being written, made by FileSystem::create. A short write shows in the count returned;
// every failure here is reported by the file system's lastError(). A sink must not outlive the
// file system that made it.
class FileSink {
  public:
    virtual ~FileSink() = default;
    virtual std::size_t write(const void* data, std::size_t bytes) = 0;
    // Goes back to the start of the file and writes there (a header patched at the end).
    virtual bool rewriteStart(const void* data, std::size_t bytes) = 0;
    // Flushes and closes; false when anything written could not be kept.
    virtual bool close() = 0;
};

// One entry of a folder listing.
struct FolderEntry {
    std::filesystem::path name;       // the entry's own name, without its folder
    std::filesystem::path shortName;  // its short (8.3) name; empty where there is none
    bool directory = false;
};

enum class ReadOutcome { Read, CannotOpen, TooLarge, CannotRead };

// A file open for reading in pieces, for files too large to be held whole (soundfiles). Made by
// FileSystem::openForReading; it must not outlive the file system that made it.
class FileSource {
  public:
    virtual ~FileSource() = default;
    // The file's length in bytes when it was opened.
    virtual std::uintmax_t size() const = 0;
    // Reads exactly bytes.size() bytes from `offset`; false when they cannot all be read.
    virtual bool readAt(std::uintmax_t offset, std::span<std::uint8_t> bytes) = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Creates the file, or empties an existing one, for writing; null when it cannot be opened.
    virtual std::unique_ptr<FileSink> create(const std::filesystem::path& path) = 0;
    // Reads the whole file into `bytes` unless it is longer than `maxBytes`.
    virtual ReadOutcome read(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                             std::uintmax_t maxBytes) = 0;
    // Opens the file for reading in pieces; null when it cannot be opened.
    virtual std::unique_ptr<FileSource> openForReading(const std::filesystem::path& path) = 0;
    // Cuts the file to `size` bytes.
    virtual bool truncate(const std::filesystem::path& path, std::uintmax_t size) = 0;
    // Moves `from` over `to` in one step, replacing an existing `to`: there is no moment at which
    // neither file is there. Never done as a removal followed by a rename: a crash between the two
    // would lose the user's file.
    virtual bool replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Removes a file; false when it could not (a missing file counts as removed).
    virtual bool remove(const std::filesystem::path& path) = 0;
    // The number and text of the last call that failed, of those above or of a sink's.
    virtual SystemError lastError() = 0;

    // nullopt when nothing of that name exists.
    virtual std::optional<EntryAttributes> attributes(const std::filesystem::path& path) = 0;
    // Creates the last level of `path`; false when it could not (existing, parent missing, ...).
    virtual bool createDirectory(const std::filesystem::path& path) = 0;
    // The entries of a folder in the order the system gives them, without the folder's own "."
    // and its parent's "..". nullopt when the folder cannot be listed (missing, not a folder,
    // no access), an empty list for an empty folder.
    virtual std::optional<std::vector<FolderEntry>> listFolder(
        const std::filesystem::path& folder) = 0;
    // The short (8.3) form of an existing path, and back; the path unchanged when there is none.
    virtual std::filesystem::path shortPath(const std::filesystem::path& path) = 0;
    virtual std::filesystem::path longPath(const std::filesystem::path& path) = 0;

    // Full path of the program file; nullopt when it cannot be had.
    virtual std::optional<std::filesystem::path> modulePath() = 0;
    virtual std::optional<std::filesystem::path> currentDirectory() = 0;
    // nullopt when the variable is not set.
    virtual std::optional<std::string> environmentVariable(const std::string& name) = 0;
};

}  // namespace lumetra
