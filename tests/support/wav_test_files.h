#pragma once
// Soundfiles made in memory for the reader's tests and the fuzz seeds: three frames of known
// values in any of the formats the reader takes, with the chunk layouts that files in the wild
// have.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lumetra::testing {

using Bytes = std::vector<std::uint8_t>;

struct WavLayout {
    std::uint16_t tag = 1;  // 1 PCM, 3 float
    std::uint16_t channels = 2;
    std::uint16_t bits = 16;
    bool extensible = false;
    bool chunkBeforeFormat = false;           // an odd-sized "LIST" chunk (with its pad) first
    std::optional<std::uint32_t> dataSize{};  // the data size field, when not the true one
    bool formatAfterData = false;
    std::int32_t sampleRate = 44100;
};

// Channel 1 and 2 of the frames; channels 3 and up hold 0.125. Values are multiples of 1/128.
Bytes makeWav(const WavLayout& layout, std::span<const float> left, std::span<const float> right);
Bytes makeWav(const WavLayout& layout);  // the three frames below

inline constexpr float kWavLeft[3] = {0.5f, -1.0f, 0.25f};
inline constexpr float kWavRight[3] = {-0.5f, 0.75f, 0.0f};

}  // namespace lumetra::testing
