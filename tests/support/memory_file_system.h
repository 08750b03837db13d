#pragma once
// A file system in memory for the tests: files and folders in maps, the process facts settable,
// and any call (of the file system or of a sink it made) that can be made to fail.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"

namespace lumetra::testing {

// The calls that can be made to fail.
enum class FileCall { Create, Write, Close, Replace, Read };

class MemoryFileSystem final : public FileSystem {
  public:
    struct Failure {
        FileCall call;
        std::string pathEnd;  // empty: every path; else paths whose key ends in it
    };

    std::unique_ptr<FileSink> create(const std::filesystem::path& path) override;
    ReadOutcome read(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                     std::uintmax_t maxBytes) override;
    std::unique_ptr<FileSource> openForReading(const std::filesystem::path& path) override;
    bool truncate(const std::filesystem::path& path, std::uintmax_t size) override;
    bool replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
    bool remove(const std::filesystem::path& path) override;
    SystemError lastError() override { return lastError_; }
    std::optional<EntryAttributes> attributes(const std::filesystem::path& path) override;
    // Fails for an existing entry and for a parent that is not a folder (by the path's text).
    bool createDirectory(const std::filesystem::path& path) override;
    // The files and folders directly in a listed folder, by name; short names from shortForms.
    std::optional<std::vector<FolderEntry>> listFolder(
        const std::filesystem::path& folder) override;
    std::filesystem::path shortPath(const std::filesystem::path& path) override;
    std::filesystem::path longPath(const std::filesystem::path& path) override;
    std::optional<std::filesystem::path> modulePath() override { return module; }
    std::optional<std::filesystem::path> currentDirectory() override { return current; }
    std::optional<std::string> environmentVariable(const std::string& name) override;

    // The key of a path in the maps: its UTF-8 text with "/" for every "\" and no trailing
    // separator, so that a folder is found with or without one, in either spelling.
    static std::string key(const std::filesystem::path& path);
    bool exists(const std::filesystem::path& path) const { return files.count(key(path)) != 0; }
    const std::vector<std::uint8_t>& at(const std::filesystem::path& path) const {
        return files.at(key(path));
    }
    std::string text(const std::filesystem::path& path) const;
    void put(const std::filesystem::path& path, const std::string& text);
    void addFolder(const std::filesystem::path& path, bool readOnly = false);
    bool isFolder(const std::filesystem::path& path) const;
    // From now on the call fails (for paths ending in `pathEnd` when one is given).
    void fail(FileCall call, const std::string& pathEnd = "") {
        failures.push_back({call, pathEnd});
    }

    std::map<std::string, std::vector<std::uint8_t>> files;
    std::map<std::string, EntryAttributes> folders;
    std::vector<Failure> failures;
    SystemError error{28, "No space left on device"};  // what the failed calls report
    // Total bytes the files may take before writes come up short (negative: no limit).
    std::int64_t failAfterBytes = -1;
    std::int64_t bytesWritten = 0;
    std::vector<std::size_t> writes;  // the size of every write asked for, in order
    int reads = 0;
    std::vector<std::filesystem::path> createdFolders;  // every createDirectory call, in order

    std::optional<std::filesystem::path> module;
    std::optional<std::filesystem::path> current;
    std::map<std::string, std::string> environment;
    // Long and short (8.3) forms of paths.
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> shortForms;

  private:
    friend class MemorySink;
    bool fails(FileCall call, const std::filesystem::path& path);
    bool failing(FileCall call, const std::filesystem::path& path) const;

    SystemError lastError_;
};

}  // namespace lumetra::testing
