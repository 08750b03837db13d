// The soundfile reader (every format it takes gives the same samples, damaged files a message),
// and the analysis of a sound into a picture: where a tone lands, its record, the refusals.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

#include "analysis/analysis_grid_store.h"
#include "analysis/analysis_record.h"
#include "analysis/sound_analysis.h"
#include "analysis/wav_reader.h"
#include "memory_file_system.h"
#include "memory_value_store.h"
#include "render_rig.h"
#include "wav_test_files.h"

namespace lumetra {
namespace {

// One second at 8000 Hz: a 400 Hz tone of amplitude 0.5 on the left, the right silent.
Sound toneSound(bool stereo) {
    Sound sound;
    sound.sampleRate = 8000, sound.fileChannels = stereo ? 2 : 1;
    for (int i = 0; i < 8000; ++i)
        sound.left.push_back(float(0.5 * std::sin(2 * std::numbers::pi * 400 * i / 8000)));
    if (stereo) sound.right.assign(8000, 0.0f);
    return sound;
}

// 100 to 1600 Hz over 17 rows: four rows an octave, 400 Hz is row 8.
const AnalysisGrid kGrid{100.0, 1600.0, 17, 50};

CanvasImage analysed(const Sound& sound) {
    CanvasImage picture;
    std::string message;
    EXPECT_EQ(analyseSound(sound, kGrid, "tone.wav", picture, message), AnalysisOutcome::Done)
        << message;
    return picture;
}

TEST(SoundAnalysis, AToneLandsInItsRowWithTheSettingsAndRecordOfTheSound) {
    const CanvasImage picture = analysed(toneSound(true));
    ASSERT_TRUE(picture.pixels.width == 50 && picture.pixels.height == 17);
    const RenderSettings& s = picture.settings;
    EXPECT_EQ(std::tuple(s.width, s.lowFrequency, s.highFrequency, s.outputTime),
              std::tuple(50, 100.0, 1600.0, 1.0));
    std::int32_t loudest = 0;
    for (std::int32_t x = 0; x < 50; ++x)
        for (std::int32_t r = 0; r < 17; ++r) {
            const Rgb c = pixelAt(picture.pixels, x, 16 - r);
            EXPECT_EQ(c.green + c.blue, 0) << "the right channel is silent";
            loudest = std::max<std::int32_t>(loudest, c.red);
            // Away from the ends the tone's row holds it all, its neighbours at most 48 dB below.
            if (x >= 3 && x < 46) {
                EXPECT_EQ(c.red == 255, r == 8) << x << ", " << r;
                EXPECT_LE(c.red, r == 8 ? 255 : std::abs(r - 8) == 1 ? 1 : 0) << x << ", " << r;
            }
        }
    EXPECT_EQ(loudest, 255);

    const RenderInfoRecord& record = picture.renderInfo;
    EXPECT_EQ(std::tuple(record.command, record.flags, record.width, record.height),
              std::tuple(104, 4u | 16u, 50, 17));
    EXPECT_STREQ(record.sourceName.data(), "tone.wav");
    EXPECT_EQ(std::tuple(record.sourceLength, record.sourceChannels, record.sourceSampleRate,
                         record.sourceNumber),
              std::tuple(1.0f, 2u, 8000u, 8000u));
}

TEST(SoundAnalysis, RefusalsAndCancelLeaveThePictureAlone) {
    const std::string tooLarge = " pixels: beyond the limits of 65535 on a side and 2^28 pixels";
    const std::tuple<AnalysisGrid, double, std::string> cases[] = {
        {{0.0, 8000.0, 10, 100}, 1, "The low pitch must lie above 0 Hz"},
        {{50.0, 8000.0, 1, 100}, 1, "The picture needs at least 2 rows"},
        {{50.0, 8000.0, 10, 0}, 1, "The picture needs at least 1 column per second"},
        {{50.0, 8000.0, 10, 100}, 655.36, "The picture would be 65536 x 10" + tooLarge},
        {{50.0, 8000.0, 4097, 100}, 655.35, "The picture would be 65535 x 4097" + tooLarge},
    };
    for (const auto& [grid, seconds, expected] : cases) {
        std::string message;
        EXPECT_FALSE(checkAnalysisGrid(grid, seconds, message)) << expected;
        EXPECT_EQ(message, expected);
    }
    std::string message;
    EXPECT_TRUE(checkAnalysisGrid({50.0, 8000.0, 4096, 100}, 655.35, message)) << message;

    CanvasImage picture = testing::randomCanvas(3, 2, 7);
    const PixelImage before = picture.pixels;
    int calls = 0;
    const AnalysisProgress cancel = [&](int) { return ++calls < 2; };
    EXPECT_EQ(analyseSound(toneSound(false), kGrid, "t.wav", picture, message, cancel),
              AnalysisOutcome::Cancelled);
    EXPECT_EQ(analyseSound(Sound{}, kGrid, "t.wav", picture, message), AnalysisOutcome::Refused);
    EXPECT_EQ(message, "The soundfile holds no samples");
    EXPECT_EQ(picture.pixels.bytes, before.bytes);
    EXPECT_EQ(defaultAnalysisRows(50, 8000), 177);  // round(24 * 7.32) + 1
}

// "é" is two bytes: one that would end at byte 32 is left out whole.
TEST(AnalysisRecord, SourceNamesAreCutWhole) {
    EXPECT_EQ(recordSourceName(std::string(40, 'a')), std::string(31, 'a'));
    EXPECT_EQ(recordSourceName(std::string(30, 'a') + "\xC3\xA9"), std::string(30, 'a'));
}

TEST(AnalysisGridStore, FieldsAreCheckedAndTheChosenGridIsRemembered) {
    std::string message;
    EXPECT_TRUE(readAnalysisGridFields("55", "8000.5", "173", "200", message));
    EXPECT_FALSE(readAnalysisGridFields("55", "8000", "65536", "200", message));
    EXPECT_EQ(message, "Rows must be a whole number from 2 to 65535");
    // The first time: the picture's range and rows, its columns per second from width and time.
    test::MemoryValueStore store;
    RenderSettings picture;  // 300 x 150, 50 to 8000 Hz, 5 s
    const auto grid = [&] {
        const AnalysisGrid g = initialAnalysisGrid(store, picture);
        return std::tuple(g.lowFrequency, g.highFrequency, g.rows, g.columnsPerSecond);
    };
    EXPECT_EQ(grid(), std::tuple(50.0, 8000.0, 150, 60));
    rememberAnalysisGrid(store, {55.5, 8000.5, 173, 200});
    EXPECT_EQ(grid(), std::tuple(55.5, 8000.5, 173, 200));
    // A stored grid that cannot be used gives way to the picture's.
    rememberAnalysisGrid(store, {55.5, 8000.0, 1, 200});
    EXPECT_EQ(std::get<2>(grid()), 150);
}

using testing::Bytes;
using testing::makeWav;
using testing::WavLayout;

TEST(WavReader, EveryFormatGivesTheSameSamples) {
    const std::pair<const char*, WavLayout> cases[] = {
        {"pcm8", {.tag = 1, .channels = 2, .bits = 8}},
        {"pcm16", {.bits = 16}},
        {"pcm24", {.tag = 1, .channels = 2, .bits = 24}},
        {"pcm32", {.tag = 1, .channels = 2, .bits = 32}},
        {"float32", {.tag = 3, .channels = 2, .bits = 32}},
        {"float64", {.tag = 3, .channels = 2, .bits = 64}},
        {"extensible pcm24", {.tag = 1, .channels = 2, .bits = 24, .extensible = true}},
        {"eight channels: the first two kept", {.tag = 1, .channels = 8, .bits = 16}},
        {"chunks before fmt, odd chunk padded", {.bits = 16, .chunkBeforeFormat = true}},
        {"open-ended data size 0", {.bits = 16, .dataSize = 0}},
        {"open-ended data size 0xFFFFFFFF", {.bits = 16, .dataSize = 0xFFFFFFFFu}},
        {"fmt behind the data", {.bits = 16, .formatAfterData = true}},
    };
    // 8 bits hold 1/128 steps, so every value here is exact in every format.
    const std::vector<float> left(std::begin(testing::kWavLeft), std::end(testing::kWavLeft));
    const std::vector<float> right(std::begin(testing::kWavRight), std::end(testing::kWavRight));
    for (const auto& [name, layout] : cases) {
        Sound sound;
        std::string message;
        ASSERT_TRUE(decodeWav(makeWav(layout), sound, message)) << name << ": " << message;
        EXPECT_EQ(std::tuple(sound.sampleRate, sound.fileChannels, sound.left, sound.right),
                  std::tuple(44100, layout.channels, left, right))
            << name;
    }
}

TEST(WavReader, FileMessagesNameTheFile) {
    testing::MemoryFileSystem files;
    Sound sound;
    std::string message;
    files.put("odd.wav", "odd");
    EXPECT_FALSE(readWavFile(files, "odd.wav", sound, message));
    EXPECT_EQ(message, "odd.wav: Not a RIFF/WAVE soundfile");
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
    const std::tuple<const char*, Bytes, const char*> cases[] = {
        {"empty", {}, "Not a RIFF/WAVE soundfile"},
        {"not RIFF", patched(0, 0x46464952u + 1, 4), "Not a RIFF/WAVE soundfile"},
        {"cut inside fmt", Bytes(good.begin(), good.begin() + 30),
         "The soundfile's format chunk is cut short"},
        {"cut before data", Bytes(good.begin(), good.begin() + 36),
         "The soundfile has no sample data"},
        {"cut inside the first frame", Bytes(good.begin(), good.begin() + 46),
         "The soundfile holds no samples"},
        {"zero channels", patched(22, 0, 2), "Unsupported channel count 0 (1 to 8)"},
        {"zero block alignment", patched(32, 0, 2),
         "The soundfile's block alignment 0 does not fit 2 channels of 16 bits"},
        {"rate too low", patched(24, 999, 4), "Unsupported sample rate 999 Hz (1000 to 384000)"},
        {"12 bits", patched(34, 12, 2), "Unsupported sound format (tag 1, 12 bits)"},
        {"fmt size past the end", patched(16, 0xFFFFFFF0u, 4), "The soundfile has no sample data"},
        {"fmt behind an open-ended data chunk", fmtAfterOpenData,
         "The soundfile has no format chunk"},
    };
    for (const auto& [name, file, expected] : cases) {
        Sound sound;
        std::string message;
        EXPECT_FALSE(decodeWav(file, sound, message));
        EXPECT_EQ(message, expected) << name;
        EXPECT_EQ(sound.frames(), 0u) << name;
    }
}

}  // namespace
}  // namespace lumetra
