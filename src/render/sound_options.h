#pragma once
// The platform-neutral part of the sound device options: what the renderer and the playback ring
// need. The device list itself belongs to the Win32 layer.

#include <array>
#include <cstdint>

namespace lumetra {

inline constexpr std::array<std::int32_t, 7> kSampleRates{48000, 44100, 32000, 22050,
                                                          16000, 11025, 8000};

struct SoundOptions {
    std::int32_t sampleRate = 22050;
    std::int32_t stereo = 1;         // 1 = two channels
    std::int16_t device = 0;         // -1 = the system's default-device mapper
    std::int32_t bufferCount = 8;    // 3 .. 16
    std::int32_t bufferSize = 4096;  // 16-bit values per buffer write, 256 .. 16384

    std::int32_t channels() const { return stereo + 1; }
};

}  // namespace lumetra
