// The latest sound keeps the format it was rendered with: changing the sample rate in the sound
// options afterwards (or a render that is refused after taking the new format) must not relabel
// it when it is saved with "Save Sound As...".

#include <gtest/gtest.h>

#include <vector>

#include "document/document_render.h"
#include "render/playback_sound.h"
#include "render/render_engine.h"
#include "render/soundfile_naming.h"
#include "render/wav_output.h"
#include "render_rig.h"

namespace lumetra::testing {
namespace {

std::uint32_t read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t{b[at + 3]} << 24;
}

TEST(PlaybackSoundFormat, SaveSoundAsWritesTheRateTheSoundWasMadeWith) {
    RenderRig rig;
    rig.soundfiles.saveSoundEveryRender = 0;
    ImageDocument doc = makeDocument(20, 10);
    // One red row: a tone in the left channel.
    for (std::int32_t x = 0; x < doc.current.pixels.width; ++x)
        setPixel(doc.current.pixels, x, 5, Rgb{200, 0, 0});
    ASSERT_EQ(renderDocument(rig.context, doc, 300), 1);
    ASSERT_TRUE(rig.playback.hasBuffer());
    ASSERT_EQ(rig.playback.format.sampleRate, 22050u);

    // The options dialog: 11025 Hz from now on.
    rig.sound.sampleRate = 11025;
    updateOutputFormat(rig.format, rig.sound);

    rig.host.saveSoundAnswer = std::filesystem::path("kept.wav");
    ASSERT_EQ(saveSoundAs(rig.context, doc.displayName), 1);
    const auto& bytes = rig.files.at(pathInFolder("sounds", "kept.wav"));
    ASSERT_GE(bytes.size(), 48u);
    EXPECT_EQ(read32(bytes, 24), 22050u);          // sample rate
    EXPECT_EQ(read32(bytes, 28), 22050u * 2 * 2);  // byte rate of 16-bit stereo
    EXPECT_EQ(read32(bytes, 44), rig.playback.length() * 2);

    // The next render makes its sound at the new rate, and that is what is saved then.
    ASSERT_EQ(renderDocument(rig.context, doc, 300), 1);
    EXPECT_EQ(rig.playback.format.sampleRate, 11025u);
    rig.host.saveSoundAnswer = std::filesystem::path("new.wav");
    ASSERT_EQ(saveSoundAs(rig.context, doc.displayName), 1);
    EXPECT_EQ(read32(rig.files.at(pathInFolder("sounds", "new.wav")), 24), 11025u);
}

}  // namespace
}  // namespace lumetra::testing
