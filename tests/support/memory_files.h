#pragma once
// Soundfiles in memory, with writes that can be made to fail after a chosen number of bytes.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "render/wav_output.h"

namespace lumetra::testing {

class MemoryFileSystem : public SoundFileSystem {
  public:
    std::unique_ptr<SoundSink> create(const std::filesystem::path& path) override;
    bool replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
    bool remove(const std::filesystem::path& path) override;

    bool exists(const std::filesystem::path& path) const { return files.count(key(path)) != 0; }
    const std::vector<std::uint8_t>& at(const std::filesystem::path& path) const {
        return files.at(key(path));
    }
    static std::string key(const std::filesystem::path& path) { return path.generic_string(); }

    std::map<std::string, std::vector<std::uint8_t>> files;
    bool failCreate = false;
    // Total bytes any file may take before writes come up short (negative: no limit).
    std::int64_t failAfterBytes = -1;
    std::int64_t bytesWritten = 0;
    std::vector<std::size_t> writes;  // the size of every write asked for, in order
};

}  // namespace lumetra::testing
