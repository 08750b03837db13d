#include "shell/settings_schema.h"

#include <gtest/gtest.h>

#include <sstream>

#include "render/render_settings.h"
#include "render/sound_options.h"

namespace lumetra {
namespace {

TEST(SettingsSchema, OutputBuffersWord) {
    SoundOptions sound;
    EXPECT_EQ(packOutputBuffers(sound), 0x08001000u);
    sound.bufferCount = 16;
    sound.bufferSize = 16384;
    EXPECT_EQ(packOutputBuffers(sound), 0x10004000u);

    unpackOutputBuffers(0x03000100, sound);
    EXPECT_EQ(sound.bufferCount, 3);
    EXPECT_EQ(sound.bufferSize, 256);
    unpackOutputBuffers(0x0C802000, sound);  // bit 23 is not part of the size
    EXPECT_EQ(sound.bufferCount, 12);
    EXPECT_EQ(sound.bufferSize, 8192);
}

TEST(SettingsSchema, OutputBuffersOutsideTheRingsRangeGiveTheDefaults) {
    for (std::uint32_t word : {0x02001000u, 0x11001000u, 0x00001000u, 0x08000000u, 0x08001001u,
                               0x08000080u, 0x08008000u, 0xFFFFFFFFu}) {
        SoundOptions sound;
        sound.bufferCount = 5;
        sound.bufferSize = 512;
        unpackOutputBuffers(word, sound);
        EXPECT_EQ(sound.bufferCount, 8) << std::hex << word;
        EXPECT_EQ(sound.bufferSize, 4096) << std::hex << word;
    }
}

// The fields of the render options word as one line.
std::string fieldsText(const RenderOptionFields& f) {
    std::ostringstream out;
    out << "number " << f.numberSoundfiles << ", save " << f.saveSoundEveryRender << ", named "
        << f.soundfileNamedAfterImage << ", stereo " << f.stereo << ", soft " << f.softSweeps
        << ", noise " << f.noiseBandwidth << ", counter " << f.soundfileCounter << ", undo "
        << f.undoLimit << ", style " << f.selectionStyle;
    return out.str();
}

TEST(SettingsSchema, RenderOptionsWord) {
    EXPECT_EQ(fieldsText(unpackRenderOptions(kDefaultRenderOptions)),
              "number 0, save 1, named 0, stereo 1, soft 0, noise 15, counter 0, undo 10, style 1");
    EXPECT_EQ(packRenderOptions(RenderOptionFields{}), kDefaultRenderOptions);

    // Each field lands in its own bits and comes back.
    const RenderOptionFields f{.numberSoundfiles = 1,
                               .saveSoundEveryRender = 0,
                               .soundfileNamedAfterImage = 1,
                               .softSweeps = 1,
                               .noiseBandwidth = 6,
                               .soundfileCounter = 99,
                               .undoLimit = 63,
                               .selectionStyle = 2};
    const std::uint32_t word = packRenderOptions(f);
    EXPECT_EQ(word, 0x1u | 0x4u | 0x8u | 0x10u | (6u << 5) | (99u << 9) | (63u << 24) | (2u << 30));
    EXPECT_EQ(fieldsText(unpackRenderOptions(word)), fieldsText(f));
}

TEST(SettingsSchema, RenderOptionsLoadRules) {
    // Stereo clear, style 3, undo field 0, and the unused bits 16..23 set.
    const RenderOptionFields f = unpackRenderOptions(0xC0FF0002u);
    EXPECT_EQ(fieldsText(f),
              "number 0, save 1, named 0, stereo 1, soft 0, noise 0, counter 0, undo 10, style 1");
    EXPECT_EQ(packRenderOptions(f) & 0x00FF0000u, 0u);
    // Out-of-range fields are cut to their width when packed, never spill into their neighbours.
    const RenderOptionFields wide{.noiseBandwidth = 0x1F, .soundfileCounter = 0xFF};
    EXPECT_EQ(
        fieldsText(unpackRenderOptions(packRenderOptions(wide))),
        "number 0, save 1, named 0, stereo 1, soft 0, noise 15, counter 127, undo 10, style 1");
}

TEST(SettingsSchema, SpreadingSetsTheSelectionDrawingFlags) {
    ShellOptions shell;
    RenderSettings render;
    SoundOptions sound;
    sound.stereo = 0;
    for (int style = 0; style < 3; ++style) {
        RenderOptionFields f;
        f.selectionStyle = style;
        spreadRenderOptions(f, shell, render, sound);
        EXPECT_EQ(shell.dragDecoration, style | 4);
        EXPECT_EQ(static_cast<int>(shell.selectionStyle), style);
    }
    EXPECT_EQ(sound.stereo, 1);
    EXPECT_EQ(packRenderOptions(gatherRenderOptions(shell, render, sound)),
              packRenderOptions(RenderOptionFields{.selectionStyle = 2}));
}

TEST(SettingsSchema, ProgramOptionsWord) {
    ShellOptions shell;
    unpackProgramOptions(kDefaultProgramOptions, shell);
    EXPECT_EQ(shell.attachRenderInfo, 0);
    unpackProgramOptions(4, shell);
    EXPECT_EQ(shell.attachRenderInfo, 1);
    EXPECT_EQ(packProgramOptions(shell), 4u);
    shell.attachRenderInfo = 0;
    EXPECT_EQ(packProgramOptions(shell), 0u);
}

TEST(SettingsSchema, ThousandthsAreUnsignedOnLoad) {
    EXPECT_EQ(fromThousandths(5000), 5.0);
    EXPECT_EQ(fromThousandths(50000), 50.0);
    EXPECT_EQ(fromThousandths(8000000), 8000.0);
    EXPECT_EQ(fromThousandths(0x80000000u), 2147483.648);
    EXPECT_EQ(fromThousandths(0xFFFFFFFFu), 4294967.295);
}

TEST(SettingsSchema, ThousandthsTruncateOnSave) {
    EXPECT_EQ(toThousandths(5.0), 5000u);
    EXPECT_EQ(toThousandths(1234.5678), 1234567u);
    EXPECT_EQ(toThousandths(0.0009), 0u);
    EXPECT_EQ(toThousandths(2.9999), 2999u);
    EXPECT_EQ(toThousandths(-3.0), 0u);
    EXPECT_EQ(toThousandths(1e12), 0xFFFFFFFFu);
    EXPECT_EQ(toThousandths(std::numeric_limits<double>::quiet_NaN()), 0u);
}

TEST(SettingsSchema, EveryStoredThousandthSurvivesLoadAndSave) {
    // 1.001 * 1000 is 1000.9999999999999 in doubles; a plain truncation would lose a thousandth
    // at every exit.
    for (std::uint32_t w = 0; w < 300000; ++w)
        ASSERT_EQ(toThousandths(fromThousandths(w)), w);
    for (std::uint32_t w = 0xFFFFFFFFu; w > 0xFFFF0000u; --w)
        ASSERT_EQ(toThousandths(fromThousandths(w)), w);
    for (std::uint32_t w = 1; w < 0xFFFF0000u; w = w * 3 + 7)
        ASSERT_EQ(toThousandths(fromThousandths(w)), w);
}

}  // namespace
}  // namespace lumetra
