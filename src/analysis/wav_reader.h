#pragma once
// Reading RIFF/WAVE soundfiles: PCM of 8, 16, 24 and 32 bits, IEEE float of 32 and 64 bits, plain
// or as WAVE_FORMAT_EXTENSIBLE, 1 to 8 channels, 1000 to 384000 Hz. Chunks may come in any order;
// odd-sized chunks carry a pad byte. A data size of 0 or 0xFFFFFFFF (a stream that was never
// closed) and a data size past the end of the file both mean: the samples the file holds.
//
// Files come from anywhere, so every size is checked against the bytes really there before it
// is used: a damaged file gets a message, never a crash or an allocation beyond its own size.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "analysis/sound.h"
#include "base/file_system.h"

namespace lumetra {

inline constexpr std::int32_t kLowestSoundRate = 1000;
inline constexpr std::int32_t kHighestSoundRate = 384000;
inline constexpr std::int32_t kMostSoundChannels = 8;
// The most samples kept (both channels together): 4 GiB of floats, over six hours of stereo at
// 44.1 kHz.
inline constexpr std::uintmax_t kMostSoundSamples = std::uintmax_t{1} << 30;

// The format chunk's numbers that matter for reading.
struct WavFormat {
    std::uint16_t tag = 0;  // 1 PCM, 3 IEEE float (an extensible file's sub-format)
    std::int32_t channels = 0;
    std::int32_t sampleRate = 0;
    std::int32_t blockAlign = 0;
    std::int32_t bitsPerSample = 0;
};

// Decodes a whole file held in memory. False with a message when it is no soundfile this
// program reads or holds no samples; `sound` is then left empty.
bool decodeWav(std::span<const std::uint8_t> bytes, Sound& sound, std::string& message);

// Reads the file at `path` (see decodeWav) piece by piece, so that the memory it takes is that of
// the samples kept; the message names the file when it cannot be read.
bool readWavFile(FileSystem& files, const std::filesystem::path& path, Sound& sound,
                 std::string& message);

}  // namespace lumetra
