// WAV headers, the output file (written beside its target, moved over it on close), soundfile
// names, the latest sound around a render, and "Save Sound As".

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "base/little_endian.h"
#include "document/document_render.h"
#include "render/playback_sound.h"
#include "render/soundfile_naming.h"
#include "render/wav_output.h"
#include "render_rig.h"

namespace lumetra::testing {
namespace {

using le::readU16;
using le::readU32;

OutputFormat stereoFormat() {
    OutputFormat f;
    updateOutputFormat(f, SoundOptions{});
    return f;
}

std::vector<std::int16_t> ramp(std::size_t n) {
    std::vector<std::int16_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<std::int16_t>(i * 37 - 1000);
    return v;
}

TEST(WavHeader, LayoutOfAStereoFileAndItsLimit) {
    const auto b = encodeWavHeader(stereoFormat(), 220332);
    const std::string tags(b.begin(), b.end());
    EXPECT_EQ(tags.substr(0, 4) + tags.substr(8, 8) + tags.substr(40, 4), "RIFFWAVEfmt data");
    const std::uint32_t words[] = {440704, 20, 1 | 2 << 16, 22050, 88200, 4 | 16 << 16, 0, 440664};
    const std::size_t at[] = {4, 16, 20, 24, 28, 32, 36, 44};
    for (std::size_t i = 0; i < std::size(at); ++i)
        EXPECT_EQ(readU32(b, at[i]), words[i]) << "offset " << at[i];
    // Sizes that would not fit the 32-bit fields are held at the largest that does.
    EXPECT_EQ(readU32(encodeWavHeader(stereoFormat(), kMaxWavValues + 5), 4), 0xFFFFFFFFu - 1);
}

TEST(WavHeader, FormatFollowsSoundOptions) {
    OutputFormat f;  // one channel, 22050 Hz at start-up
    SoundOptions sound;
    sound.sampleRate = 44100;
    updateOutputFormat(f, sound);
    EXPECT_EQ(std::tuple(f.channels, f.byteRate, f.blockAlign), std::tuple(2, 176400u, 4));
    sound.stereo = 0;
    updateOutputFormat(f, sound);
    EXPECT_EQ(std::tuple(f.channels, f.byteRate, f.blockAlign), std::tuple(1, 88200u, 2));
}

TEST(SoundfileOutput, WritesBesideTheTargetAndPatchesOnClose) {
    MemoryFileSystem files;
    SoundfileOutput out(files);
    const std::filesystem::path target = "sounds/take.wav";
    files.put(target, "old sound");
    ASSERT_TRUE(out.open(target, stereoFormat()));
    EXPECT_FALSE(out.open("sounds/other.wav", stereoFormat()));  // one file at a time
    EXPECT_TRUE(files.exists(partialSoundfilePath(target)));
    const auto values = ramp(1001);
    EXPECT_EQ(out.write(values), 1001u);
    EXPECT_EQ(files.text(target), "old sound");  // untouched while the new one is written
    ASSERT_TRUE(out.close(1001));
    EXPECT_FALSE(out.isOpen());
    EXPECT_EQ(files.files.size(), 1u);  // the partial file is gone
    const auto& bytes = files.at(target);
    ASSERT_EQ(bytes.size(), 48u + 2002u);
    EXPECT_EQ(std::memcmp(bytes.data() + 48, values.data(), 2002), 0);
}

TEST(SoundfileOutput, TenValuesOrFewerLeaveTheOldFile) {
    MemoryFileSystem files;
    files.files["sounds/take.wav"] = {1, 2, 3};
    SoundfileOutput out(files);
    for (std::size_t n : {10, 11}) {
        ASSERT_TRUE(out.open("sounds/take.wav", stereoFormat()));
        out.write(ramp(n));
        EXPECT_TRUE(out.close(static_cast<std::int64_t>(n)));
        EXPECT_EQ(files.files.size(), 1u);
        EXPECT_EQ(files.at("sounds/take.wav").size(), n == 10 ? 3u : 48u + 22u);
    }
}

TEST(SoundfileOutput, HeaderNeverClaimsMoreThanWritten) {
    MemoryFileSystem files;
    files.failAfterBytes = 48 + 40;  // 20 values fit
    SoundfileOutput out(files);
    ASSERT_TRUE(out.open("a.wav", stereoFormat()));
    EXPECT_EQ(out.write(ramp(100)), 20u);
    EXPECT_EQ(out.valuesWritten(), 20);
    EXPECT_TRUE(out.close(100));
    EXPECT_EQ(readU32(files.at("a.wav"), 44), 40u);
}

TEST(SoundfileOutput, AFileThatCannotBeCompletedLeavesTheOldOneAndNoPart) {
    for (const FileCall failing : {FileCall::Write, FileCall::Close, FileCall::Replace}) {
        SCOPED_TRACE(static_cast<int>(failing));
        MemoryFileSystem files;
        files.put("take.wav", "old sound");
        SoundfileOutput out(files);
        ASSERT_TRUE(out.open("take.wav", stereoFormat()));
        ASSERT_EQ(out.write(ramp(500)), 500u);
        files.fail(failing);  // patching the header, flushing or moving it over the target
        EXPECT_FALSE(out.close(500) || out.isOpen());
        EXPECT_EQ(files.text("take.wav"), "old sound");
        EXPECT_EQ(files.files.size(), 1u);
    }
    MemoryFileSystem files;  // destroyed while open: discarded as well
    std::optional<SoundfileOutput> out(files);
    ASSERT_TRUE(out->open("a.wav", stereoFormat()) && out->write(ramp(500)) == 500u);
    out.reset();
    EXPECT_TRUE(files.files.empty());
}

TEST(SoundfileOutput, OpenFailureMessage) {
    RenderRig rig;
    rig.files.fail(FileCall::Create);
    EXPECT_EQ(openSoundfile(rig.ui, rig.soundfile, "sounds/x.wav", rig.format), 0);
    EXPECT_EQ(rig.ui.boxes, (std::vector<RecordingUi::Box>{
                                {"Could not open sounds/x.wav for output", "Soundfile error"}}));
}

TEST(SoundfileNames, EveryRenderFileNames) {
    RenderRig rig;
    rig.soundfiles.saveSoundEveryRender = 1;
    rig.soundfiles.soundfileCounter = 99;
    // Named after the picture up to its last dot, numbered from the counter (which wraps at 100).
    const struct {
        const char* picture;
        int named, numbered;
        const char* soundfile;
    } cases[] = {{"track.take.bmp", 1, 1, "track.take99.wav"},
                 {"track.take.bmp", 1, 1, "track.take00.wav"},
                 {"noext", 1, 1, "noext01.wav"},
                 {"track.take.bmp", 1, 0, "track.take.wav"},
                 {"track.take.bmp", 0, 0, "Lumetra.wav"}};
    for (const auto& c : cases) {
        rig.soundfiles.soundfileNamedAfterImage = c.named;
        rig.soundfiles.numberSoundfiles = c.numbered;
        ASSERT_EQ(makeSoundfileName(rig.context, c.picture), 1);
        EXPECT_EQ(rig.soundfile.path(), pathInFolder("sounds", c.soundfile));
        rig.soundfile.close(0);
    }
    rig.soundfiles.saveSoundEveryRender = 0;
    rig.files.files.clear();
    EXPECT_EQ(makeSoundfileName(rig.context, "track.take.bmp"), 1);
    EXPECT_FALSE(rig.soundfile.isOpen());
    EXPECT_TRUE(rig.files.files.empty());
}

TEST(SaveSoundAs, SuggestsAndWritesTheLatestSoundInItsOwnFormat) {
    RenderRig rig;
    ImageDocument doc = makeDocument(4, 4);
    rig.soundfiles.soundfileCounter = 99;
    rig.playback.samples = ramp(300);
    rig.playback.format = stereoFormat();  // as rendered; the options have changed since
    rig.sound.sampleRate = 11025;
    rig.sound.stereo = 0;
    updateOutputFormat(rig.format, rig.sound);
    rig.host.saveSoundAnswer = std::filesystem::path("chosen.wav");
    EXPECT_EQ(saveSoundAs(rig.context, doc.displayName), 1);
    EXPECT_EQ(rig.host.suggestedNames, std::vector<std::string>{"Lumetra99.wav"});
    EXPECT_EQ(rig.soundfiles.soundfileCounter, 0);
    const auto& bytes = rig.files.at(pathInFolder("sounds", "chosen.wav"));
    EXPECT_EQ(std::tuple(bytes.size(), readU16(bytes, 22), readU32(bytes, 24)),
              std::tuple(648u, 2, 22050u));
    doc.displayName = "song.bmp";
    rig.host.saveSoundAnswer.reset();  // cancelled
    EXPECT_EQ(saveSoundAs(rig.context, doc.displayName), 0);
    EXPECT_EQ(rig.host.suggestedNames.back(), "song.wav");
}

TEST(SaveSoundAs, WriteErrorKeepsTheOldFile) {
    RenderRig rig;
    const auto target = pathInFolder("sounds", "chosen.wav");
    rig.files.files[MemoryFileSystem::key(target)] = {9, 9};
    rig.files.failAfterBytes = 100;
    rig.playback.samples = ramp(300);
    rig.host.saveSoundAnswer = std::filesystem::path("chosen.wav");  // inside the folder
    EXPECT_EQ(saveSoundAs(rig.context, "x.bmp"), 0);
    const RecordingUi::Box error{
        "Error writing " + utf8FromPath(target) + "\nError 28: No space left on device",
        "Soundfile error"};
    EXPECT_EQ(rig.ui.boxes, std::vector<RecordingUi::Box>{error});
    EXPECT_EQ(rig.files.at(target), (std::vector<std::uint8_t>{9, 9}));
    EXPECT_EQ(rig.files.files.size(), 1u);
}

TEST(PlaybackSound, IsPreparedForTheRenderAndCutToWhatItMade) {
    RenderRig rig;
    ImageDocument doc = makeDocument(300, 150);
    doc.current.settings.samplesPerPixel = 366;
    rig.format.channels = 2;
    rig.playback.position = 77;
    EXPECT_EQ(preparePlaybackSound(rig.context, renderPicture(doc), 220332), 1);
    const PlaybackSound& p = rig.playback;
    EXPECT_EQ(
        std::tuple(p.length(), p.position, p.valuesPerColumn, p.pictureWidth, p.pictureHeight),
        std::tuple(220332u, 0u, 732, 300, 150));
    EXPECT_EQ(p.format, rig.format);
    finishPlaybackSound(rig.playback, 0);
    EXPECT_FALSE(rig.playback.hasBuffer());
}

TEST(PlaybackSound, WithoutMemoryFileOnlyAsksForAFile) {
    RenderRig rig;
    ImageDocument doc = makeDocument(300, 150);
    rig.playback.memoryLimitValues = 1000;
    rig.ui.answer = true;  // render to file only
    // Cancelled: no samples are made.
    EXPECT_EQ(preparePlaybackSound(rig.context, renderPicture(doc), 220332), 0);
    EXPECT_EQ(rig.soundfiles.saveSoundEveryRender, 0);
    doc.displayName = "song.bmp";
    rig.host.saveSoundAnswer = std::filesystem::path("song.wav");
    EXPECT_EQ(preparePlaybackSound(rig.context, renderPicture(doc), 220332), 1);
    EXPECT_EQ(rig.host.suggestedNames.back(), "song.wav");
    EXPECT_EQ(rig.soundfiles.saveSoundEveryRender, 1);
    EXPECT_EQ(rig.soundfile.path(), std::filesystem::path("sounds") / "song.wav");
    EXPECT_FALSE(rig.playback.hasBuffer());
}

}  // namespace
}  // namespace lumetra::testing
