// Preparing and finishing the latest sound around a render.

#include <gtest/gtest.h>

#include "document/document_render.h"
#include "render/playback_sound.h"
#include "render_rig.h"

namespace lumetra::testing {
namespace {

const char* kMemoryQuestion =
    "Could not allocate memory for internal playback sound.\nRender to file only?";

struct PlaybackFixture : ::testing::Test {
    RenderRig rig;
    ImageDocument doc = makeDocument(300, 150);
    void SetUp() override {
        rig.format.channels = 2;
        doc.current.settings.samplesPerPixel = 366;
    }
};

TEST_F(PlaybackFixture, PreparesForTheRender) {
    rig.playback.position = 77;
    EXPECT_EQ(preparePlaybackSound(rig.context, renderPicture(doc), 220332), 1);
    EXPECT_EQ(rig.playback.length(), 220332u);
    EXPECT_EQ(rig.playback.position, 0u);
    EXPECT_EQ(rig.playback.valuesPerColumn, 732);
    EXPECT_EQ(rig.playback.pictureWidth, 300);
    EXPECT_EQ(rig.playback.pictureHeight, 150);
    EXPECT_EQ(rig.playback.format, rig.format);
    finishPlaybackSound(rig.playback, 1000);
    EXPECT_EQ(rig.playback.length(), 1000u);
    finishPlaybackSound(rig.playback, 0);
    EXPECT_FALSE(rig.playback.hasBuffer());
}

TEST_F(PlaybackFixture, NoMemoryAndNoFileOnly) {
    rig.playback.memoryLimitValues = 1000;
    rig.playback.samples.assign(10, 1);  // the last sound
    EXPECT_EQ(preparePlaybackSound(rig.context, renderPicture(doc), 220332), 0);
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].text, kMemoryQuestion);
    EXPECT_EQ(rig.ui.boxes[0].caption, "Memory Error");
    EXPECT_EQ(rig.ui.boxes[0].kind, RecordingUi::BoxKind::YesNo);
}

TEST_F(PlaybackFixture, FileOnlyIntoTheOpenFile) {
    rig.playback.memoryLimitValues = 1000;
    rig.playback.samples.assign(10, 1);
    ASSERT_TRUE(rig.soundfile.open("sounds/a.wav", rig.format));
    rig.ui.answers = {true};
    EXPECT_EQ(preparePlaybackSound(rig.context, renderPicture(doc), 220332), 1);
    EXPECT_FALSE(rig.playback.hasBuffer());
    EXPECT_TRUE(rig.host.suggestedNames.empty());
}

TEST_F(PlaybackFixture, FileOnlyAsksForAFile) {
    rig.playback.memoryLimitValues = 1000;
    rig.ui.answers = {true, true};
    // Cancelled: no samples are made.
    EXPECT_EQ(preparePlaybackSound(rig.context, renderPicture(doc), 220332), 0);
    EXPECT_EQ(rig.soundfiles.saveSoundEveryRender, 0);

    doc.displayName = "song.bmp";
    rig.host.saveSoundAnswer = std::filesystem::path("song.wav");
    EXPECT_EQ(preparePlaybackSound(rig.context, renderPicture(doc), 220332), 1);
    EXPECT_EQ(rig.host.suggestedNames.back(), "song.wav");
    EXPECT_EQ(rig.soundfiles.saveSoundEveryRender, 1);
    EXPECT_TRUE(rig.soundfile.isOpen());
    EXPECT_EQ(rig.soundfile.path(), std::filesystem::path("sounds") / "song.wav");
    EXPECT_FALSE(rig.playback.hasBuffer());
}

}  // namespace
}  // namespace lumetra::testing
