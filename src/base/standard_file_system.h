#pragma once
// The file system through the C and C++ libraries, for native builds, the batch tools and tests
// that want real files: C stdio with wide paths under _WIN32, std::filesystem for the rest. The
// libraries know no short (8.3) names, so both forms are the path itself.

#include "base/file_system.h"

namespace lumetra {

class StandardFileSystem final : public FileSystem {
  public:
    std::unique_ptr<FileSink> create(const std::filesystem::path& path) override;
    ReadOutcome read(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                     std::uintmax_t maxBytes) override;
    std::unique_ptr<FileSource> openForReading(const std::filesystem::path& path) override;
    bool truncate(const std::filesystem::path& path, std::uintmax_t size) override;
    // A rename: POSIX and the Windows runtime both replace an existing target in one step.
    bool replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
    bool remove(const std::filesystem::path& path) override;
    SystemError lastError() override { return lastError_; }

    // Read-only: the owner may not write to it.
    std::optional<EntryAttributes> attributes(const std::filesystem::path& path) override;
    bool createDirectory(const std::filesystem::path& path) override;
    // The library knows no short names: every entry's is empty.
    std::optional<std::vector<FolderEntry>> listFolder(
        const std::filesystem::path& folder) override;
    std::filesystem::path shortPath(const std::filesystem::path& path) override { return path; }
    std::filesystem::path longPath(const std::filesystem::path& path) override { return path; }

    // Where the system says (/proc/self/exe on Linux); nullopt where it does not.
    std::optional<std::filesystem::path> modulePath() override;
    std::optional<std::filesystem::path> currentDirectory() override;
    std::optional<std::string> environmentVariable(const std::string& name) override;

  private:
    bool failed(const std::error_code& error);

    SystemError lastError_;
};

}  // namespace lumetra
