#include "base/standard_file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace lumetra {
namespace {

SystemError errnoError() {
    const int code = errno;
    return SystemError{code, std::generic_category().message(code)};
}

std::FILE* openFile(const std::filesystem::path& path, bool write) {
#ifdef _WIN32
    return _wfopen(path.c_str(), write ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

class StdioSink final : public FileSink {
  public:
    StdioSink(std::FILE* file, SystemError& lastError) : file_(file), lastError_(lastError) {}
    ~StdioSink() override {
        if (file_) std::fclose(file_);
    }
    StdioSink(const StdioSink&) = delete;
    StdioSink& operator=(const StdioSink&) = delete;

    std::size_t write(const void* data, std::size_t bytes) override {
        if (bytes == 0) return 0;  // an empty piece may come without memory: never hand it on
        const std::size_t written = file_ ? std::fwrite(data, 1, bytes, file_) : 0;
        if (written < bytes) lastError_ = errnoError();
        return written;
    }
    bool rewriteStart(const void* data, std::size_t bytes) override {
        const bool ok = file_ && std::fflush(file_) == 0 && std::fseek(file_, 0, SEEK_SET) == 0 &&
                        std::fwrite(data, 1, bytes, file_) == bytes;
        if (!ok) lastError_ = errnoError();
        return ok;
    }
    bool close() override {
        if (!file_) return false;
        const bool ok = std::fclose(file_) == 0;
        file_ = nullptr;
        if (!ok) lastError_ = errnoError();
        return ok;
    }

  private:
    std::FILE* file_;
    SystemError& lastError_;
};

class StdioSource final : public FileSource {
  public:
    StdioSource(std::FILE* file, std::uintmax_t size, SystemError& lastError)
        : file_(file), size_(size), lastError_(lastError) {}
    ~StdioSource() override { std::fclose(file_); }
    StdioSource(const StdioSource&) = delete;
    StdioSource& operator=(const StdioSource&) = delete;

    std::uintmax_t size() const override { return size_; }
    bool readAt(std::uintmax_t offset, std::span<std::uint8_t> bytes) override {
        if (offset > size_ || bytes.size() > size_ - offset) return false;
#ifdef _WIN32
        const bool placed = _fseeki64(file_, static_cast<long long>(offset), SEEK_SET) == 0;
#else
        const bool placed = fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
        if (placed && std::fread(bytes.data(), 1, bytes.size(), file_) == bytes.size()) return true;
        lastError_ = errnoError();
        return false;
    }

  private:
    std::FILE* file_;
    std::uintmax_t size_;
    SystemError& lastError_;
};

}  // namespace

bool StandardFileSystem::failed(const std::error_code& error) {
    if (!error) return false;
    lastError_ = SystemError{error.value(), error.message()};
    return true;
}

std::unique_ptr<FileSink> StandardFileSystem::create(const std::filesystem::path& path) {
    std::FILE* file = openFile(path, true);
    if (!file) {
        lastError_ = errnoError();
        return nullptr;
    }
    return std::make_unique<StdioSink>(file, lastError_);
}

std::unique_ptr<FileSource> StandardFileSystem::openForReading(const std::filesystem::path& path) {
    std::error_code error;
    const std::uintmax_t length = std::filesystem::file_size(path, error);
    if (failed(error)) return nullptr;
    std::FILE* file = openFile(path, false);
    if (!file) {
        lastError_ = errnoError();
        return nullptr;
    }
    return std::make_unique<StdioSource>(file, length, lastError_);
}

ReadOutcome StandardFileSystem::read(const std::filesystem::path& path,
                                     std::vector<std::uint8_t>& bytes, std::uintmax_t maxBytes) {
    std::error_code error;
    const std::uintmax_t length = std::filesystem::file_size(path, error);
    if (failed(error)) return ReadOutcome::CannotOpen;
    std::FILE* file = openFile(path, false);
    if (!file) {
        lastError_ = errnoError();
        return ReadOutcome::CannotOpen;
    }
    ReadOutcome outcome = ReadOutcome::Read;
    if (length > maxBytes) {
        outcome = ReadOutcome::TooLarge;
    } else {
        bytes.resize(static_cast<std::size_t>(length));
        if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            lastError_ = errnoError();
            bytes.clear();
            outcome = ReadOutcome::CannotRead;
        }
    }
    std::fclose(file);
    return outcome;
}

bool StandardFileSystem::truncate(const std::filesystem::path& path, std::uintmax_t size) {
    std::error_code error;
    std::filesystem::resize_file(path, size, error);
    return !failed(error);
}

bool StandardFileSystem::replace(const std::filesystem::path& from,
                                 const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return !failed(error);
}

bool StandardFileSystem::remove(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    return !failed(error);
}

std::optional<EntryAttributes> StandardFileSystem::attributes(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        failed(error);
        return std::nullopt;
    }
    const bool writable = (status.permissions() & std::filesystem::perms::owner_write) !=
                          std::filesystem::perms::none;
    return EntryAttributes{std::filesystem::is_directory(status), !writable};
}

bool StandardFileSystem::createDirectory(const std::filesystem::path& path) {
    std::error_code error;
    const bool created = std::filesystem::create_directory(path, error);
    return !failed(error) && created;
}

std::optional<std::vector<FolderEntry>> StandardFileSystem::listFolder(
    const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (failed(error)) return std::nullopt;
    std::vector<FolderEntry> entries;
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (failed(error)) return std::nullopt;
        std::error_code kindError;
        entries.push_back(FolderEntry{it->path().filename(), {}, it->is_directory(kindError)});
    }
    if (failed(error)) return std::nullopt;
    return entries;
}

std::optional<std::filesystem::path> StandardFileSystem::modulePath() {
#ifdef _WIN32
    // The Windows program and batch tools ask the platform's own file system; the C library
    // offers no portable way to the program file there.
    return std::nullopt;
#else
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (failed(error)) return std::nullopt;
    return path;
#endif
}

std::optional<std::filesystem::path> StandardFileSystem::currentDirectory() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::current_path(error);
    if (failed(error)) return std::nullopt;
    return path;
}

std::optional<std::string> StandardFileSystem::environmentVariable(const std::string& name) {
#ifdef _WIN32
    const std::wstring wideName =
        std::filesystem::path(std::u8string(name.begin(), name.end())).wstring();
    const wchar_t* value = _wgetenv(wideName.c_str());
    if (!value) return std::nullopt;
    const std::u8string text = std::filesystem::path(value).u8string();
    return std::string(text.begin(), text.end());
#else
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
#endif
}

}  // namespace lumetra
