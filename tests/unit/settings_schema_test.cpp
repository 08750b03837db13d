// The settings' packed words, thousandths and value names.

#include "shell/settings_schema.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "render/render_settings.h"
#include "render/sound_options.h"

namespace lumetra {
namespace {

// (The packing of the default and of other in-range values: the settings store's round trip.)
TEST(SettingsSchema, OutputBuffersOutsideTheRingsRangeGiveTheDefaults) {
    SoundOptions sound;
    unpackOutputBuffers(0x03000100, sound);
    EXPECT_EQ(std::pair(sound.bufferCount, sound.bufferSize), std::pair(3, 256));
    unpackOutputBuffers(0x10804000, sound);  // bit 23 is not part of the size
    EXPECT_EQ(std::pair(sound.bufferCount, sound.bufferSize), std::pair(16, 16384));
    for (std::uint32_t word : {0x02001000u, 0x11001000u, 0x00001000u, 0x08000000u, 0x08001001u,
                               0x08000080u, 0x08008000u, 0xFFFFFFFFu}) {
        SoundOptions other{.bufferCount = 5, .bufferSize = 512};
        unpackOutputBuffers(word, other);
        EXPECT_EQ(std::pair(other.bufferCount, other.bufferSize), std::pair(8, 4096))
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
    const std::pair<double, std::uint32_t> saved[] = {
        {5.0, 5000u},
        {1234.5678, 1234567u},
        {0.0009, 0u},
        {2.9999, 2999u},
        {-3.0, 0u},
        {1e12, 0xFFFFFFFFu},
        {std::numeric_limits<double>::quiet_NaN(), 0u}};
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

// The settings' value names and key path come from the resource script's string table: the
// settings store's table must say exactly what the script says, for every name either holds.
std::string sourceFile(const char* name) {
    std::ifstream in(std::string(LUMETRA_SOURCE_DIR) + "/src/resources/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The string table's entries whose names start with IDS_VALUE_ or are the settings key, by id.
std::map<int, std::string> settingStrings() {
    std::map<std::string, int> ids;
    const std::string header = sourceFile("resource_ids.h");
    const std::regex define(R"(#define (IDS_\w+) (\d+))");
    for (std::sregex_iterator i(header.begin(), header.end(), define), end; i != end; ++i)
        ids[(*i)[1]] = std::stoi((*i)[2]);
    std::map<int, std::string> strings;
    const std::string script = sourceFile("lumetra.rc");
    const std::regex entry(R"re(\n\s*(IDS_VALUE_\w+|IDS_SETTINGS_KEY)\s+"((?:[^"\\]|\\.)*)")re");
    for (std::sregex_iterator i(script.begin(), script.end(), entry), end; i != end; ++i) {
        std::string text = (*i)[2];
        std::string plain;
        for (std::size_t k = 0; k < text.size(); ++k)
            plain += text[k] == '\\' ? text[++k] : text[k];
        strings[ids.at((*i)[1])] = plain;
    }
    return strings;
}

TEST(SettingsNames, TheStoreAndTheResourceScriptNameEverySettingAlike) {
    const std::map<int, std::string> script = settingStrings();
    ASSERT_EQ(script.size(), 40u);  // the key and 39 value names
    for (const auto& [id, text] : script) {
        EXPECT_EQ(settingName(id), text) << id;
        EXPECT_LE(text.size(), kMaxSettingNameLength) << text;  // the string-table lookup's room
    }
    for (int id = 3000; id < 3100; ++id)
        EXPECT_TRUE(settingName(id).empty() || script.count(id)) << id << " " << settingName(id);
    EXPECT_EQ(settingName(3400), "");
}

}  // namespace
}  // namespace lumetra
