#include "memory_file_system.h"

#include <algorithm>
#include <cstring>

#include "base/file_io.h"

namespace lumetra::testing {

class MemorySink final : public FileSink {
  public:
    MemorySink(MemoryFileSystem& files, std::filesystem::path path)
        : files_(files), path_(std::move(path)) {}

    std::size_t write(const void* data, std::size_t bytes) override {
        files_.writes.push_back(bytes);
        std::size_t allowed = files_.fails(FileCall::Write, path_) ? 0 : bytes;
        if (files_.failAfterBytes >= 0) {
            const std::int64_t room =
                std::max<std::int64_t>(files_.failAfterBytes - files_.bytesWritten, 0);
            allowed = static_cast<std::size_t>(std::min<std::int64_t>(room, allowed));
        }
        if (allowed < bytes) files_.lastError_ = files_.error;
        auto& file = files_.files[MemoryFileSystem::key(path_)];
        const auto* p = static_cast<const std::uint8_t*>(data);
        file.insert(file.end(), p, p + allowed);
        files_.bytesWritten += static_cast<std::int64_t>(allowed);
        return allowed;
    }
    bool rewriteStart(const void* data, std::size_t bytes) override {
        if (files_.fails(FileCall::Write, path_)) return false;
        auto& file = files_.files[MemoryFileSystem::key(path_)];
        if (file.size() < bytes) file.resize(bytes);
        std::memcpy(file.data(), data, bytes);
        return true;
    }
    bool close() override { return !files_.fails(FileCall::Close, path_); }

  private:
    MemoryFileSystem& files_;
    std::filesystem::path path_;
};

std::string MemoryFileSystem::key(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    std::string k(text.begin(), text.end());
    std::replace(k.begin(), k.end(), '\\', '/');
    while (k.size() > 1 && k.back() == '/')
        k.pop_back();
    return k;
}

bool MemoryFileSystem::failing(FileCall call, const std::filesystem::path& path) const {
    const std::string k = key(path);
    return std::any_of(failures.begin(), failures.end(), [&](const Failure& f) {
        return f.call == call && k.size() >= f.pathEnd.size() &&
               k.compare(k.size() - f.pathEnd.size(), f.pathEnd.size(), f.pathEnd) == 0;
    });
}

bool MemoryFileSystem::fails(FileCall call, const std::filesystem::path& path) {
    if (!failing(call, path)) return false;
    lastError_ = error;
    return true;
}

std::unique_ptr<FileSink> MemoryFileSystem::create(const std::filesystem::path& path) {
    if (fails(FileCall::Create, path) || isFolder(path)) return nullptr;
    files[key(path)].clear();
    return std::make_unique<MemorySink>(*this, path);
}

namespace {

// A copy of the file as it was when opened.
class MemorySource final : public FileSource {
  public:
    explicit MemorySource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    std::uintmax_t size() const override { return bytes_.size(); }
    bool readAt(std::uintmax_t offset, std::span<std::uint8_t> bytes) override {
        if (offset > bytes_.size() || bytes.size() > bytes_.size() - offset) return false;
        std::copy_n(bytes_.begin() + std::ptrdiff_t(offset), bytes.size(), bytes.begin());
        return true;
    }

  private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::unique_ptr<FileSource> MemoryFileSystem::openForReading(const std::filesystem::path& path) {
    ++reads;
    const auto it = files.find(key(path));
    if (it == files.end()) {
        lastError_ = SystemError{2, "No such file or directory"};
        return nullptr;
    }
    if (fails(FileCall::Read, path)) return nullptr;
    return std::make_unique<MemorySource>(it->second);
}

ReadOutcome MemoryFileSystem::read(const std::filesystem::path& path,
                                   std::vector<std::uint8_t>& bytes, std::uintmax_t maxBytes) {
    ++reads;
    const auto it = files.find(key(path));
    if (it == files.end()) {
        lastError_ = SystemError{2, "No such file or directory"};
        return ReadOutcome::CannotOpen;
    }
    if (it->second.size() > maxBytes) return ReadOutcome::TooLarge;
    if (fails(FileCall::Read, path)) return ReadOutcome::CannotRead;
    bytes = it->second;
    return ReadOutcome::Read;
}

bool MemoryFileSystem::truncate(const std::filesystem::path& path, std::uintmax_t size) {
    const auto it = files.find(key(path));
    if (it == files.end()) return false;
    if (it->second.size() > size) it->second.resize(static_cast<std::size_t>(size));
    return true;
}

bool MemoryFileSystem::replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    const auto it = files.find(key(from));
    if (it == files.end() || isFolder(to) || fails(FileCall::Replace, to)) return false;
    std::vector<std::uint8_t> bytes = std::move(it->second);
    files.erase(it);
    files[key(to)] = std::move(bytes);
    return true;
}

bool MemoryFileSystem::remove(const std::filesystem::path& path) {
    files.erase(key(path));
    return true;
}

std::optional<EntryAttributes> MemoryFileSystem::attributes(const std::filesystem::path& path) {
    const auto folder = folders.find(key(path));
    if (folder != folders.end()) return folder->second;
    if (exists(path)) return EntryAttributes{};
    return std::nullopt;
}

bool MemoryFileSystem::createDirectory(const std::filesystem::path& path) {
    createdFolders.push_back(path);
    const std::string k = key(path);
    const std::size_t slash = k.rfind('/');
    const bool parentThere = slash == std::string::npos || folders.count(k.substr(0, slash));
    if (attributes(path) || !parentThere) return false;
    folders[k] = EntryAttributes{true, false};
    return true;
}

std::optional<std::vector<FolderEntry>> MemoryFileSystem::listFolder(
    const std::filesystem::path& folder) {
    if (!isFolder(folder)) {
        lastError_ = SystemError{3, "The system cannot find the path specified."};
        return std::nullopt;
    }
    const std::string prefix = key(folder) + "/";
    std::map<std::string, bool> children;  // name, directory
    const auto addChild = [&](const std::string& k, bool directory) {
        if (k.size() > prefix.size() && k.compare(0, prefix.size(), prefix) == 0 &&
            k.find('/', prefix.size()) == std::string::npos)
            children[k.substr(prefix.size())] = directory;
    };
    for (const auto& entry : files)
        addChild(entry.first, false);
    for (const auto& entry : folders)
        addChild(entry.first, entry.second.directory);
    std::vector<FolderEntry> entries;
    for (const auto& [name, directory] : children) {
        const std::filesystem::path full = pathFromUtf8(prefix + name);
        const std::string shortKey = key(shortPath(full));
        const std::string shortName =
            shortKey == key(full) ? std::string() : shortKey.substr(shortKey.rfind('/') + 1);
        entries.push_back(FolderEntry{pathFromUtf8(name), pathFromUtf8(shortName), directory});
    }
    return entries;
}

std::filesystem::path MemoryFileSystem::shortPath(const std::filesystem::path& path) {
    for (const auto& [longForm, shortForm] : shortForms)
        if (key(longForm) == key(path)) return shortForm;
    return path;
}

std::filesystem::path MemoryFileSystem::longPath(const std::filesystem::path& path) {
    for (const auto& [longForm, shortForm] : shortForms)
        if (key(shortForm) == key(path)) return longForm;
    return path;
}

std::optional<std::string> MemoryFileSystem::environmentVariable(const std::string& name) {
    const auto it = environment.find(name);
    if (it == environment.end()) return std::nullopt;
    return it->second;
}

std::string MemoryFileSystem::text(const std::filesystem::path& path) const {
    const auto it = files.find(key(path));
    return it == files.end() ? "<missing>" : std::string(it->second.begin(), it->second.end());
}

void MemoryFileSystem::put(const std::filesystem::path& path, const std::string& text) {
    files[key(path)] = std::vector<std::uint8_t>(text.begin(), text.end());
}

void MemoryFileSystem::addFolder(const std::filesystem::path& path, bool readOnly) {
    folders[key(path)] = EntryAttributes{true, readOnly};
}

bool MemoryFileSystem::isFolder(const std::filesystem::path& path) const {
    const auto it = folders.find(key(path));
    return it != folders.end() && it->second.directory;
}

}  // namespace lumetra::testing
