#pragma once
// The file system through the wide API. Paths of any length and with any characters work: long
// paths go to the API in their extended-length form, buffers grow to what the API asks for, and
// results come back without the extended-length prefix. A file replaces another in one step
// (MoveFileExW with MOVEFILE_REPLACE_EXISTING), so there is no moment at which neither is there.

#include "base/file_system.h"

namespace lumetra::win {

class WinFileSystem final : public FileSystem {
  public:
    std::unique_ptr<FileSink> create(const std::filesystem::path& path) override;
    ReadOutcome read(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                     std::uintmax_t maxBytes) override;
    std::unique_ptr<FileSource> openForReading(const std::filesystem::path& path) override;
    bool truncate(const std::filesystem::path& path, std::uintmax_t size) override;
    bool replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
    bool remove(const std::filesystem::path& path) override;
    SystemError lastError() override;

    std::optional<EntryAttributes> attributes(const std::filesystem::path& path) override;
    bool createDirectory(const std::filesystem::path& path) override;
    // FindFirstFileW over "folder\*": the short name is the one the file system keeps.
    std::optional<std::vector<FolderEntry>> listFolder(
        const std::filesystem::path& folder) override;
    // The short form of the full path (a relative path is taken from the current directory).
    std::filesystem::path shortPath(const std::filesystem::path& path) override;
    std::filesystem::path longPath(const std::filesystem::path& path) override;

    std::optional<std::filesystem::path> modulePath() override;
    std::optional<std::filesystem::path> currentDirectory() override;
    // A variable that is set but empty comes back as an empty text.
    std::optional<std::string> environmentVariable(const std::string& name) override;

  private:
    bool failed();

    unsigned long lastError_ = 0;
};

}  // namespace lumetra::win
