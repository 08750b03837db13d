#include "shell/settings_schema.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "render/render_settings.h"
#include "render/sound_options.h"

namespace lumetra {
namespace {

// (The packing of the default and of other in-range values: the settings store's round trip.)
TEST(SettingsSchema, OutputBuffersOutsideTheRingsRangeGiveTheDefaults) {
    // Bit 23 is not part of the size; outside the range: the defaults 8 x 4096.
    const std::tuple<std::uint32_t, int, int> words[] = {
        {0x03000100, 3, 256},  {0x10804000, 16, 16384}, {0x02001000, 8, 4096},
        {0x11001000, 8, 4096}, {0x08000000, 8, 4096},   {0x08001001, 8, 4096},
        {0x08000080, 8, 4096}, {0x08008000, 8, 4096}};
    for (const auto& [word, count, size] : words) {
        SoundOptions sound{.bufferCount = 5, .bufferSize = 512};
        unpackOutputBuffers(word, sound);
        EXPECT_EQ(std::pair(sound.bufferCount, sound.bufferSize), std::pair(count, size))
            << std::hex << word;
    }
}

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

    // Stereo clear, style 3, undo field 0, and the unused bits 16..23 set.
    const RenderOptionFields old = unpackRenderOptions(0xC0FF0002u);
    EXPECT_EQ(fieldsText(old),
              "number 0, save 1, named 0, stereo 1, soft 0, noise 0, counter 0, undo 10, style 1");
    EXPECT_EQ(packRenderOptions(old) & 0x00FF0000u, 0u);
    // Out-of-range fields are cut to their width when packed, never spill into their neighbours.
    const RenderOptionFields wide{.noiseBandwidth = 0x1F, .soundfileCounter = 0xFF};
    EXPECT_EQ(
        fieldsText(unpackRenderOptions(packRenderOptions(wide))),
        "number 0, save 1, named 0, stereo 1, soft 0, noise 15, counter 127, undo 10, style 1");
}

// (Spreading the fields over the records, the selection's drawing flags and the program options
// word: the settings store's round trip.)
TEST(SettingsSchema, ThousandthsAreUnsignedOnLoadAndTruncateOnSave) {
    EXPECT_EQ(std::tuple(fromThousandths(8000000), fromThousandths(0xFFFFFFFFu)),
              std::tuple(8000.0, 4294967.295));
    const std::pair<double, std::uint32_t> saved[] = {{5.0, 5000u},        {1234.5678, 1234567u},
                                                      {0.0009, 0u},  //
                                                      {2.9999, 2999u},     {-3.0, 0u},
                                                      {1e12, 0xFFFFFFFFu}, {std::nan(""), 0u}};
    for (const auto& [value, word] : saved)
        EXPECT_EQ(toThousandths(value), word) << value;
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
