// The soundfile reader: every format it takes gives the same samples, and damaged files give a
// message instead of a crash or an allocation beyond their size.

#include <gtest/gtest.h>

#include <cstring>

#include "analysis/wav_reader.h"
#include "memory_file_system.h"
#include "render/wav_output.h"
#include "wav_test_files.h"

namespace lumetra {
namespace {

using testing::Bytes;
using testing::makeWav;
using testing::WavLayout;

using testing::kWavLeft;
using testing::kWavRight;

TEST(WavReader, EveryFormatGivesTheSameSamples) {
    struct Case {
        const char* name;
        WavLayout layout;
    };
    const Case cases[] = {
        {"pcm8", {.tag = 1, .channels = 2, .bits = 8}},
        {"pcm16", {.bits = 16}},
        {"pcm24", {.tag = 1, .channels = 2, .bits = 24}},
        {"pcm32", {.tag = 1, .channels = 2, .bits = 32}},
        {"float32", {.tag = 3, .channels = 2, .bits = 32}},
        {"float64", {.tag = 3, .channels = 2, .bits = 64}},
        {"extensible pcm24", {.tag = 1, .channels = 2, .bits = 24, .extensible = true}},
        {"extensible float32", {.tag = 3, .channels = 2, .bits = 32, .extensible = true}},
        {"eight channels: the first two kept", {.tag = 1, .channels = 8, .bits = 16}},
        {"chunks before fmt, odd chunk padded", {.bits = 16, .chunkBeforeFormat = true}},
        {"open-ended data size 0", {.bits = 16, .dataSize = 0}},
        {"open-ended data size 0xFFFFFFFF", {.bits = 16, .dataSize = 0xFFFFFFFFu}},
        {"fmt behind the data", {.bits = 16, .formatAfterData = true}},
        {"data size past the end", {.bits = 16, .dataSize = 1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sound sound;
        std::string message;
        ASSERT_TRUE(decodeWav(makeWav(c.layout), sound, message)) << message;
        EXPECT_EQ(std::tuple(sound.sampleRate, sound.fileChannels),
                  std::tuple(44100, c.layout.channels));
        ASSERT_TRUE(sound.stereo());
        // 8 bits hold 1/128 steps, so every value here is exact in every format.
        EXPECT_EQ(sound.left, std::vector<float>(std::begin(kWavLeft), std::end(kWavLeft)));
        EXPECT_EQ(sound.right, std::vector<float>(std::begin(kWavRight), std::end(kWavRight)));
    }
}

TEST(WavReader, TheProgramsOwnSoundfilesReadBack) {
    OutputFormat format;
    format.channels = 1;
    const auto header = encodeWavHeader(format, 2);
    Bytes file(header.begin(), header.end());
    for (std::int16_t v : {std::int16_t(16384), std::int16_t(-32768)}) {
        file.push_back(std::uint8_t(v & 0xFF));
        file.push_back(std::uint8_t((v >> 8) & 0xFF));
    }
    Sound sound;
    std::string message;
    ASSERT_TRUE(decodeWav(file, sound, message)) << message;
    EXPECT_TRUE(sound.sampleRate == 22050 && !sound.stereo());
    EXPECT_EQ(sound.left, (std::vector<float>{0.5f, -1.0f}));
}

TEST(WavReader, DamagedFilesGetAMessage) {
    const Bytes good = makeWav({.bits = 16});
    auto patched = [&](std::size_t at, std::uint32_t value, int bytes) {
        Bytes b = good;
        for (int i = 0; i < bytes; ++i)
            b[at + i] = std::uint8_t(value >> (8 * i));
        return b;
    };
    // The fmt chunk starts at 12 (contents at 20); data follows at 36 (contents at 44).
    Bytes fmtAfterOpenData = makeWav({.bits = 16, .dataSize = 0, .formatAfterData = true});
    struct Case {
        const char* name;
        Bytes file;
        const char* message;
    };
    const Case cases[] = {
        {"empty", {}, "Not a RIFF/WAVE soundfile"},
        {"not RIFF", patched(0, 0x46464952u + 1, 4), "Not a RIFF/WAVE soundfile"},
        {"cut inside fmt", Bytes(good.begin(), good.begin() + 30),
         "The soundfile's format chunk is cut short"},
        {"cut before data", Bytes(good.begin(), good.begin() + 36),
         "The soundfile has no sample data"},
        {"cut inside the first frame", Bytes(good.begin(), good.begin() + 46),
         "The soundfile holds no samples"},
        {"zero channels", patched(22, 0, 2), "Unsupported channel count 0 (1 to 8)"},
        {"nine channels", patched(22, 9, 2), "Unsupported channel count 9 (1 to 8)"},
        {"zero block alignment", patched(32, 0, 2),
         "The soundfile's block alignment 0 does not fit 2 channels of 16 bits"},
        {"rate too low", patched(24, 999, 4), "Unsupported sample rate 999 Hz (1000 to 384000)"},
        {"absurd rate", patched(24, 0xFFFFFFFFu, 4),
         "Unsupported sample rate 4294967295 Hz (1000 to 384000)"},
        {"12 bits", patched(34, 12, 2), "Unsupported sound format (tag 1, 12 bits)"},
        {"mu-law", patched(20, 7, 2), "Unsupported sound format (tag 7, 16 bits)"},
        {"fmt size past the end", patched(16, 0xFFFFFFF0u, 4), "The soundfile has no sample data"},
        {"fmt behind an open-ended data chunk", fmtAfterOpenData,
         "The soundfile has no format chunk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sound sound;
        std::string message;
        EXPECT_FALSE(decodeWav(c.file, sound, message));
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(sound.frames(), 0u);
    }
}

TEST(WavReader, FileMessagesNameTheFile) {
    testing::MemoryFileSystem files;
    Sound sound;
    std::string message;
    EXPECT_FALSE(readWavFile(files, "missing.wav", sound, message));
    EXPECT_EQ(message, "Could not read missing.wav");
    files.put("odd.wav", "odd");
    EXPECT_FALSE(readWavFile(files, "odd.wav", sound, message));
    EXPECT_EQ(message, "odd.wav: Not a RIFF/WAVE soundfile");
}

}  // namespace
}  // namespace lumetra
