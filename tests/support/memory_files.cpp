#include "memory_files.h"

#include <algorithm>
#include <cstring>

namespace lumetra::testing {

namespace {

class MemorySink : public SoundSink {
  public:
    MemorySink(MemoryFileSystem& files, std::string name) : files_(files), name_(std::move(name)) {}

    std::size_t write(const void* data, std::size_t bytes) override {
        files_.writes.push_back(bytes);
        std::size_t allowed = bytes;
        if (files_.failAfterBytes >= 0) {
            const std::int64_t room =
                std::max<std::int64_t>(files_.failAfterBytes - files_.bytesWritten, 0);
            allowed = static_cast<std::size_t>(std::min<std::int64_t>(room, bytes));
        }
        auto& file = files_.files[name_];
        const auto* p = static_cast<const std::uint8_t*>(data);
        file.insert(file.end(), p, p + allowed);
        files_.bytesWritten += static_cast<std::int64_t>(allowed);
        return allowed;
    }
    bool rewriteStart(const void* data, std::size_t bytes) override {
        auto& file = files_.files[name_];
        if (file.size() < bytes) file.resize(bytes);
        std::memcpy(file.data(), data, bytes);
        return true;
    }
    bool close() override { return true; }

  private:
    MemoryFileSystem& files_;
    std::string name_;
};

}  // namespace

std::unique_ptr<SoundSink> MemoryFileSystem::create(const std::filesystem::path& path) {
    if (failCreate) return nullptr;
    files[key(path)].clear();
    return std::make_unique<MemorySink>(*this, key(path));
}

bool MemoryFileSystem::replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    auto it = files.find(key(from));
    if (it == files.end()) return false;
    files[key(to)] = std::move(it->second);
    files.erase(key(from));
    return true;
}

bool MemoryFileSystem::remove(const std::filesystem::path& path) {
    return files.erase(key(path)) != 0;
}

}  // namespace lumetra::testing
