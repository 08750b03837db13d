// The render engine's own numbers, texts and failure paths (its arithmetic: render_agreement_test);
// WAV headers, the output file, soundfile names, the latest sound and "Save Sound As".

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <optional>

#include "base/little_endian.h"
#include "document/document_render.h"
#include "render/playback_sound.h"
#include "render/render_engine.h"
#include "render/render_steps.h"
#include "render/sine_table.h"
#include "render/soundfile_naming.h"
#include "render/wav_output.h"
#include "render_rig.h"

namespace lumetra::testing {
namespace {

struct EngineTest : ::testing::Test {
    RenderRig rig;
    ImageDocument doc = makeDocument(300, 150);
    const std::string wav = utf8FromPath(pathInFolder("sounds", "Lumetra.wav"));

    int render(int command = kRenderImage) { return renderDocument(rig.context, doc, command); }
    void light(std::int32_t x, std::int32_t y, Rgb c) { setPixel(doc.current.pixels, x, y, c); }
    void SetUp() override { light(100, 75, Rgb{255, 0, 0}); }  // one red pixel, unless replaced
    const std::vector<std::uint8_t>& file() { return rig.files.at(pathFromUtf8(wav)); }
};

TEST_F(EngineTest, DefaultPictureNumbers) {
    light(100, 75, Rgb{200, 100, 0});
    rig.soundfiles.saveSoundEveryRender = 1, rig.clock.tickStep = 500;
    ASSERT_EQ(render(), 1);
    EXPECT_EQ(doc.current.settings.samplesPerPixel, 366);
    EXPECT_EQ(rig.playback.length(), 220332u);  // 301 slices of 366 stereo frames
    // Header, then six chunks of 32940 values and the rest.
    std::vector<std::size_t> writes(7, 2 * 32940);
    writes[0] = 48, writes.push_back(2 * (220332 - 6 * 32940));
    EXPECT_EQ(rig.files.writes, writes);
    ASSERT_EQ(file().size(), 48u + 440664u);
    EXPECT_TRUE(std::equal(rig.playback.samples.begin(), rig.playback.samples.end(),
                           reinterpret_cast<const std::int16_t*>(file().data() + 48)));

    EXPECT_EQ(rig.ui.statusTexts(0),
              (std::vector<std::string>{"Generating 5.00 secs (Hold down Esc to terminate)",
                                        "Generated 5.00 secs -- " + wav}));
    const auto part1 = rig.ui.statusTexts(1);
    ASSERT_EQ(part1.size(), 302u);
    EXPECT_EQ(part1[0] + part1[150] + part1[300], "0%50%100%");
    EXPECT_EQ(part1[301], "Time: 0.50 s (9.99 x real-time)");
    EXPECT_EQ(std::pair(rig.host.statusUpdates, rig.host.pumps), std::pair(301, 301));
    const RenderInfoRecord& info = doc.current.renderInfo;
    EXPECT_TRUE(info.valid == 1 && info.command == 300 && info.renderTime == 0.5f);
    EXPECT_EQ(rig.playback.renderedRect, (Rect{0, 0, 300, 150}));
    EXPECT_FALSE(rig.context.renderInProgress || rig.context.engineBusy);
}

TEST_F(EngineTest, NormaliserOfALoneRedPixelAndARenderTooFastToMeasure) {
    EXPECT_NEAR(computeNormaliser(rig.ui, doc.current.pixels, Rect{0, 0, 300, 150}, 10.0), 307.02,
                1e-9);
    ASSERT_EQ(render(kRenderWithoutBlue), 1);
    EXPECT_EQ(rig.ui.status[1], "Time: 0.00 s (too fast to measure)");
}

TEST_F(EngineTest, SelectionProgressStartsAtItsLeftEdge) {
    light(60, 20, Rgb{50, 50, 0});
    doc.current.selection = Rect{50, 10, 80, 40};
    ASSERT_EQ(render(kRenderSelection), 1);
    const auto part1 = rig.ui.statusTexts(1);
    EXPECT_EQ(part1.front() + part1[part1.size() - 2], "16%26%");  // from 50 * 100 div 300
    EXPECT_EQ(rig.playback.length(), 31u * 2 * 366);
    EXPECT_EQ(rig.playback.renderedRect, (Rect{50, 10, 80, 40}));
    EXPECT_EQ(doc.current.renderInfo.selection, (std::array<std::int32_t, 4>{50, 10, 80, 40}));
}

TEST_F(EngineTest, BlueAloneOrAnEmptySelectionIsNoImageData) {
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 300; ++x)
            light(x, y, Rgb{0, 0, 255});
    doc.current.selection = Rect{10, 10, 20, 20}, rig.soundfiles.saveSoundEveryRender = 1;
    rig.playback.samples.assign(500, 7);  // the last sound stays
    for (int command : {kRenderImage, kRenderSelection, kRenderWithoutBlue, kRenderSelection}) {
        rig.ui.statusLog.clear();
        EXPECT_EQ(render(command), 0);
        EXPECT_EQ(rig.ui.statusLog.size(), 1u);
        EXPECT_EQ(rig.ui.status[0], "No image data to render!");
        if (command == kRenderWithoutBlue) light(5, 5, Rgb{255, 255, 0});  // outside the selection
    }
    EXPECT_EQ(rig.playback.length(), 500u);
    EXPECT_TRUE(rig.files.files.empty());
    EXPECT_EQ(rig.seed.value, RandomSeed::kStart);
}

TEST_F(EngineTest, WriteErrorYesKeepsWhatWasWritten) {
    rig.soundfiles.saveSoundEveryRender = 1, rig.files.failAfterBytes = 48 + 1000;
    rig.ui.answers = {true};
    EXPECT_EQ(render(kRenderWithoutBlue), 1);  // goes on into memory
    const RecordingUi::Box question{"Error writing " + wav +
                                        "\nError 28: No space left on device\nWrite header to "
                                        "file to enable playback of what you've got?    ",
                                    "Soundfile error", RecordingUi::BoxKind::YesNo};
    EXPECT_EQ(rig.ui.boxes, std::vector<RecordingUi::Box>{question});
    EXPECT_EQ(file().size(), 48u + 1000u);
    EXPECT_EQ(file()[44] | file()[45] << 8, 1000);
    EXPECT_EQ(rig.files.writes.size(), 2u);  // the file stays closed afterwards
    EXPECT_EQ(rig.playback.length(), 220332u);
    EXPECT_EQ(doc.current.renderInfo.valid, 1u);
}

TEST_F(EngineTest, WriteErrorWithoutPlaybackMemoryStops) {
    rig.soundfiles.saveSoundEveryRender = 1, rig.playback.memoryLimitValues = 1000;
    rig.files.failAfterBytes = 48 + 2 * 32940 + 10;
    rig.ui.answers = {true, true};  // render to file only; keep what was written
    EXPECT_EQ(render(kRenderWithoutBlue), 0);
    ASSERT_EQ(rig.ui.boxes.size(), 2u);
    EXPECT_EQ(rig.ui.boxes[0],
              (RecordingUi::Box{
                  "Could not allocate memory for internal playback sound.\nRender to file only?",
                  "Memory Error", RecordingUi::BoxKind::YesNo}));
    EXPECT_TRUE(rig.host.suggestedNames.empty());  // the open soundfile takes the sound
    EXPECT_EQ(rig.files.writes.size(), 3u);        // header, one chunk, the failed one
    EXPECT_EQ(file().size(), 48u + 2 * 32940 + 10);
    EXPECT_EQ(doc.current.renderInfo.valid, 0u);
    EXPECT_FALSE(rig.playback.hasBuffer());
}

TEST_F(EngineTest, ThePumpMayStartAnotherRenderOrChangeThePicture) {
    int inner = -1;
    rig.host.onPump = [&] {
        if (inner == -1) inner = rig.context.renderInProgress ? render() : 2;
    };
    EXPECT_EQ(render(), 1);
    EXPECT_EQ(inner, 0);  // ignored while the first goes on
    EXPECT_FALSE(rig.context.engineBusy);
    EXPECT_EQ(rig.playback.length(), 220332u);
    std::string message;
    rig.host.onPump = [&] { adoptPixels(doc.current, *createCanvasBitmap(20, 10, message)); };
    EXPECT_EQ(render(kRenderWithoutBlue), 1);
    EXPECT_EQ(rig.playback.length(), 220332u);
}

TEST_F(EngineTest, UnusableSettingsAreRefusedWithAText) {
    const std::tuple<double, double, const char*> cases[] = {
        {0.001, 10.0, "Cannot render: the output time is too short for the image width!"},
        {5.0, 0.0, "Cannot render: the amp factor must be above 0!"},
        {1e9, 10.0, "Cannot render: the sound would be too long for a soundfile!"},
    };
    for (const auto& [outputTime, ampFactor, text] : cases) {
        doc.current.settings.outputTime = outputTime, doc.current.settings.ampFactor = ampFactor;
        EXPECT_EQ(render(), 0);
        EXPECT_EQ(rig.ui.status[0], text);
    }
    EXPECT_FALSE(rig.playback.hasBuffer());
    EXPECT_EQ(render(299), 0);
    EXPECT_EQ(render(304), 0);
}

TEST(SoftSweepTable, WeightsOfOneSlice) {
    RecordingUi ui;
    SoftSweepTable table;
    ASSERT_TRUE(buildSoftSweepTable(ui, table, 366));
    ASSERT_EQ(table.weights.size(), 367u);
    EXPECT_NEAR(table.weights[0], 0.0f, 1e-14);  // 1 + cos of pi rounded to float
    EXPECT_NEAR(table.weights[183], 2.0f, 1e-6);
    EXPECT_EQ(table.weights[366], 2.0f);
    // Over an even slice the weights sum to s, so a soft glide ends where a straight one does.
    EXPECT_NEAR(std::accumulate(table.weights.begin(), table.weights.end() - 1, 0.0), 366.0, 1e-3);
}

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
    ASSERT_TRUE(out.close(1001) && !out.isOpen());
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

TEST(SoundfileNames, EveryRenderFileNames) {
    RenderRig rig;
    rig.soundfiles.saveSoundEveryRender = 1, rig.soundfiles.soundfileCounter = 99;
    // Named after the picture up to its last dot, numbered from the counter (which wraps at 100).
    const std::tuple<const char*, int, int, const char*> cases[] = {
        {"track.take.bmp", 1, 1, "track.take99.wav"},
        {"track.take.bmp", 1, 1, "track.take00.wav"},
        {"noext", 1, 1, "noext01.wav"},
        {"track.take.bmp", 1, 0, "track.take.wav"},
        {"track.take.bmp", 0, 0, "Lumetra.wav"}};
    for (const auto& [picture, named, numbered, soundfile] : cases) {
        rig.soundfiles.soundfileNamedAfterImage = named, rig.soundfiles.numberSoundfiles = numbered;
        ASSERT_EQ(makeSoundfileName(rig.context, picture), 1);
        EXPECT_EQ(rig.soundfile.path(), pathInFolder("sounds", soundfile));
        rig.soundfile.close(0);
    }
    rig.soundfiles.saveSoundEveryRender = 0, rig.files.files.clear();
    EXPECT_EQ(makeSoundfileName(rig.context, "track.take.bmp"), 1);
    EXPECT_FALSE(rig.soundfile.isOpen());
    EXPECT_TRUE(rig.files.files.empty());
}

TEST(SaveSoundAs, SuggestsAndWritesTheLatestSoundInItsOwnFormat) {
    RenderRig rig;
    ImageDocument doc = makeDocument(4, 4);
    rig.soundfiles.soundfileCounter = 99, rig.playback.samples = ramp(300);
    rig.playback.format = stereoFormat();  // as rendered; the options have changed since
    rig.sound.sampleRate = 11025, rig.sound.stereo = 0;
    updateOutputFormat(rig.format, rig.sound);
    rig.host.saveSoundAnswer = std::filesystem::path("chosen.wav");
    EXPECT_EQ(saveSoundAs(rig.context, doc.displayName), 1);
    EXPECT_EQ(rig.host.suggestedNames, std::vector<std::string>{"Lumetra99.wav"});
    EXPECT_EQ(rig.soundfiles.soundfileCounter, 0);
    const auto& bytes = rig.files.at(pathInFolder("sounds", "chosen.wav"));
    EXPECT_EQ(std::tuple(bytes.size(), readU16(bytes, 22), readU32(bytes, 24)),
              std::tuple(648u, 2, 22050u));
    rig.host.saveSoundAnswer.reset();  // cancelled
    EXPECT_EQ(saveSoundAs(rig.context, "song.bmp"), 0);
    EXPECT_EQ(rig.host.suggestedNames.back(), "song.wav");
}

}  // namespace
}  // namespace lumetra::testing
