// The playback ring over a fake wave device, and the sound options' device list and fields.
#include "render/playback_ring.h"
#include "render/playback_sound.h"
#include "render/sound_options_rules.h"

#include <gtest/gtest.h>

#include <random>

#include "fake_wave_out.h"
#include "recording_ui.h"

namespace lumetra {
namespace {

using Box = testing::RecordingUi::Box;
using Position = testing::PlayPosition;
using Words = std::vector<std::uint32_t>;

Box failure(int code) {
    const std::string number = (code < 10 ? "0" : "") + std::to_string(code);
    return {"device error " + std::to_string(code), "Sound System Failure " + number};
}

// A ring on the fake device with a ramp of values as its sound.
struct Rig {
    Rig() : device(view.pending), ring(device, view, ui, options) {}
    ~Rig() { EXPECT_EQ(device.misuse, std::vector<std::string>{}); }

    void useSound(std::size_t length, std::int32_t valuesPerColumn = 294) {
        samples.resize(length);
        for (std::size_t i = 0; i < length; ++i)
            samples[i] = static_cast<std::int16_t>(i * 7 % 65521 - 32000);
        sound = {samples, valuesPerColumn, OutputFormat{1, 2, 22050, 88200, 4, 16, 0}};
    }
    bool start(std::int32_t count, std::int32_t size, std::size_t length,
               int argument = kPlayRepeating) {
        EXPECT_TRUE(ring.allocateBuffers(count, size));
        useSound(length);
        return ring.togglePlayback(argument, sound);
    }
    bool toggle(int argument = kPlayRepeating) { return ring.togglePlayback(argument, sound); }
    // The device finishes a buffer of its queue and the main window handles the message.
    void playOne(std::size_t k = 0) { ring.onBufferDone(device.finish(k), sound); }
    void playAll() {
        for (int limit = 100000; !device.queue.empty() && limit > 0; --limit)
            playOne();
    }
    bool streamInOrder() const {
        for (std::size_t i = 0; i < device.stream.size(); ++i)
            if (device.stream[i] != samples[i % samples.size()]) return false;
        return true;
    }
    // What the device and the ring say of themselves; "queued 0" when closed and idle.
    std::string state() const {
        std::string s = device.isOpen ? "device " : "";
        if (ring.deviceOpen()) s += "open ";
        if (ring.active()) s += "active ";
        if (ring.playing()) s += "playing ";
        return s + "queued " + std::to_string(ring.queued());
    }
    bool stoppedQuietly() const { return !view.playStates.back() && ui.lastStatus().empty(); }

    SoundOptions options;
    testing::RecordingUi ui;
    testing::FakePlaybackUi view;
    testing::FakeWaveOut device;
    PlaybackRing ring;
    std::vector<std::int16_t> samples;
    PlaybackSoundView sound;
};

struct PlaybackRingTest : ::testing::Test, Rig {};

TEST_F(PlaybackRingTest, BufferAllocationRules) {
    EXPECT_TRUE(ring.allocateBuffers(3, 256) && ring.allocateBuffers(16, 16384));
    for (const auto& [count, size] : {std::pair{2, 4096}, {17, 4096}, {8, 4095}, {8, 32768}})
        EXPECT_FALSE(ring.allocateBuffers(count, size)) << count << " x " << size;
    EXPECT_EQ(std::pair(ring.bufferCount(), ring.bufferSize()), std::pair(16, 16384));  // kept
    useSound(5000);  // refused while the device holds the buffers
    ASSERT_TRUE(toggle());
    EXPECT_FALSE(ring.allocateBuffers(8, 4096));
    ASSERT_TRUE(toggle(kStopForRender));
    EXPECT_TRUE(ring.allocateBuffers(8, 4096));
}

TEST_F(PlaybackRingTest, EightBuffersOf4096QueueTheFirst32768ValuesBeforeTheStart) {
    options.device = 3;
    ASSERT_TRUE(start(8, 4096, 100000));
    std::string calls;
    for (const std::string& call : device.calls)
        calls += call.substr(0, 2) + " ";  // open, prepare, pause, write, restart
    EXPECT_EQ(calls, "op pr pr pr pr pr pr pr pr pa wr wr wr wr wr wr wr wr re ");
    EXPECT_EQ(std::tuple(device.writtenBeforeRestart, device.stream.size(), device.openedDevice),
              std::tuple(32768u, 32768u, 3));
    EXPECT_TRUE(streamInOrder());
    EXPECT_EQ(std::tuple(device.headers.at(7).second, ring.position()), std::tuple(8192u, 32768));
    EXPECT_EQ(state(), "device open active playing queued 8");
    EXPECT_EQ(ui.lastStatus(), "Playing sound. Hit Space bar to stop.");
    EXPECT_TRUE(
        (view.playStates == std::vector<bool>{true} && view.sent == std::vector<Position>{{0, 0}}));
}

TEST_F(PlaybackRingTest, RepeatingPlayStartsAgainAtTheEnd) {
    ASSERT_TRUE(start(3, 256, 1000));  // three full buffers and a short one of 232 per round
    for (int i = 0; i < 40; ++i)
        playOne();
    EXPECT_TRUE(ring.playing() && streamInOrder() && device.stream.size() > 10000u);
    EXPECT_EQ(Words(device.writeBytes.begin() + 3, device.writeBytes.begin() + 8),
              (Words{464, 512, 512, 512, 464}));
}

TEST_F(PlaybackRingTest, OncePlayedSoundStopsAtTheEndAndClosesTheDevice) {
    ASSERT_TRUE(start(3, 256, 1000, kPlayOnce));
    EXPECT_FALSE(ring.repeat());
    playAll();
    EXPECT_EQ(device.stream, samples);  // exactly once
    EXPECT_EQ(device.writeBytes, (Words{512, 512, 512, 464}));
    EXPECT_EQ(state(), "queued 0");
    EXPECT_EQ(std::tuple(ring.position(), device.count("unprepare"), ring.lastReportedPosition()),
              std::tuple(0, 3, -1));
    EXPECT_TRUE(stoppedQuietly() && view.invalidations >= 1);
    EXPECT_EQ(view.posted.back(), (Position{1, -1}));
    // A sound shorter than the ring is all queued at the start and is not playing on from there.
    ASSERT_TRUE(start(8, 4096, 5000, kPlayOnce));
    EXPECT_EQ(Words(device.writeBytes.begin() + 4, device.writeBytes.end()), (Words{8192, 1808}));
    EXPECT_EQ(state(), "device open active queued 2");
}

// Space lets the queued buffers play out, none refilled; Space while they drain goes on from there.
TEST_F(PlaybackRingTest, SpaceLetsTheQueuedBuffersPlayOutAndPlayAgainGoesOnWhereItStopped) {
    ASSERT_TRUE(start(3, 256, 5000));
    playOne();
    const std::size_t written = device.stream.size();
    ASSERT_TRUE(toggle());  // stop
    EXPECT_EQ(state(), "device open active queued 3");
    EXPECT_TRUE(stoppedQuietly());
    view.posted.clear();
    const std::size_t back = device.finish();  // one buffer back, two still out
    ring.onBufferDone(back, sound);
    ring.onBufferDone(back, sound);  // stray messages: the same buffer again, and no buffer
    ring.onBufferDone(99, sound);
    EXPECT_EQ(std::tuple(ring.queued(), device.isOpen, device.stream.size()),
              std::tuple(2, true, written));
    ASSERT_TRUE(toggle());  // play again
    EXPECT_EQ(std::tuple(device.count("open"), device.count("pause"), device.count("restart")),
              std::tuple(1, 2, 2));
    EXPECT_EQ(state(), "device open active playing queued 3");
    EXPECT_TRUE(streamInOrder());  // no jump back to the start
    EXPECT_EQ(ring.position(), 256 * 5);
    ASSERT_TRUE(toggle());
    playAll();
    EXPECT_EQ(view.posted, std::vector<Position>(4, Position{1, -1}));
    EXPECT_EQ(state(), "queued 0");
}

TEST(PlaybackRingPosition, IsPostedOnceItMovedMoreThanTwoColumnsOrASixteenthSecond) {
    // Length, values per column, rate, buffers returned, ends reported (a report says end + 3).
    // The smaller of two columns and 1/16 s decides; exactly that much is still near the last.
    const std::tuple<std::size_t, std::int32_t, std::int32_t, int, std::vector<std::int64_t>>
        cases[] = {
            {100000, 256, 22050, 12, {256, 1024, 1792, 2560}},  // two columns: 512 values
            {100000, 2000, 24576, 16, {256, 2048, 3840}},       // a sixteenth second: 1536 values
            {1024, 0, 22050, 6, {256, 512, 768, 1024, 256, 512}},  // no columns: every buffer
        };
    for (const auto& [length, valuesPerColumn, sampleRate, returned, ends] : cases) {
        SCOPED_TRACE(valuesPerColumn);
        Rig r;
        r.options.sampleRate = sampleRate;
        ASSERT_TRUE(r.ring.allocateBuffers(4, 256));
        r.useSound(length, valuesPerColumn);
        ASSERT_TRUE(r.toggle());
        for (int i = 0; i < returned; ++i)
            r.playOne();
        std::vector<Position> expected;
        for (std::int64_t end : ends)
            expected.emplace_back(1, end + 3);
        EXPECT_EQ(r.view.posted, expected);
        EXPECT_EQ(r.ring.lastReportedPosition(), ends.back());
    }
}

TEST_F(PlaybackRingTest, NoSoundToPlayAndNothingToStop) {
    EXPECT_FALSE(start(8, 4096, 0));
    EXPECT_TRUE(!view.playStates.back() && view.sent.empty());
    EXPECT_TRUE(ring.stopPlaybackAndWait() && toggle(kStopForRender));
    EXPECT_TRUE(view.sleeps.empty() && device.calls.empty() && !ring.active());
    useSound(293, 294);  // less than one column
    EXPECT_FALSE(toggle(kPlayOnce));
    EXPECT_EQ(ui.lastStatus(), "No sound to play back!");
    useSound(294, 294);
    EXPECT_TRUE(toggle(kPlayOnce));
}

TEST_F(PlaybackRingTest, StopWaitsForLateBuffersEvenAfterResetFailure07) {
    ASSERT_TRUE(start(8, 4096, 100000));
    device.failNext("reset", 7);  // and so returns no buffer
    view.onSleep = [this] { view.pending.push_back(device.finish()); };
    EXPECT_TRUE(ring.stopPlaybackAndWait());
    EXPECT_EQ(view.sleeps, std::vector<int>(8, 20));
    EXPECT_EQ(ui.boxes, std::vector<Box>{failure(7)});
    EXPECT_EQ(state(), "queued 0");
}

TEST_F(PlaybackRingTest, StopGivesUpAfter52Tries) {
    device.resetReturnsBuffers = false;
    ASSERT_TRUE(start(8, 4096, 100000));
    const auto states = view.playStates.size();
    EXPECT_FALSE(toggle(kStopForRender));
    EXPECT_EQ(view.sent.back(), (Position{1, -1}));  // the play marker goes at once
    EXPECT_EQ(view.sleeps, std::vector<int>(52, 20));
    EXPECT_EQ(ui.lastStatus(), "Waiting for playback to quit...");
    EXPECT_EQ(view.playStates.size(), states);  // nothing else changes
    EXPECT_EQ(state(), "device open active queued 8");
    playAll();  // the buffers come back later through the message loop and close the device then
    EXPECT_EQ(state(), "queued 0");
}

TEST(PlaybackRingFailures, AFailedStartWarnsOnceAndLeavesTheRingReadyForTheNextStart) {
    // Failing call, which of its name (0 = first), code, start refused, buffers still out.
    const std::tuple<const char*, int, int, bool, std::int32_t> cases[] = {
        {"open", 0, 2, true, 0},    {"prepare", 0, 3, true, 0},
        {"prepare", 2, 3, true, 0},  // the two prepared are unprepared
        {"pause", 0, 4, true, 0},   {"restart", 0, 5, true, 4},
        {"write", 0, 6, false, 0},  {"write", 2, 6, false, 2},
    };
    for (const auto& [call, number, code, refused, queued] : cases) {
        SCOPED_TRACE(::testing::Message() << call << " #" << number);
        Rig r;
        r.device.failures[call] = {number, code};
        EXPECT_EQ(r.start(4, 256, 5000), !refused);
        EXPECT_EQ(r.ui.boxes, std::vector<Box>{failure(code)});
        EXPECT_EQ(r.device.count(call), number + 1);  // no more such calls after the failure
        EXPECT_EQ(r.state(),
                  (r.device.isOpen ? "device open queued " : "queued ") + std::to_string(queued));
        EXPECT_TRUE(r.stoppedQuietly());
        EXPECT_TRUE(r.view.sent.empty());  // no play marker for a sound that does not play
        // What is still out comes back and closes the device; no buffer stays marked as queued.
        r.playAll();
        EXPECT_EQ(r.state(), "queued 0");
        EXPECT_TRUE(r.toggle());
        EXPECT_EQ(r.ring.queued(), 4);
    }
}

// A device that cannot even be reset is given up; the next play opens a fresh one.
TEST_F(PlaybackRingTest, ResetFailure09GivesTheDeviceUp) {
    ASSERT_TRUE(start(3, 256, 600, kPlayOnce));
    playOne();
    playOne();
    device.failNext("reset", 9);
    device.headers.clear();  // the fake's close would complain about them otherwise
    playOne();
    EXPECT_EQ(std::pair(ui.boxes.back(), state()), std::pair(failure(9), std::string("queued 0")));
    ASSERT_TRUE(toggle(kPlayOnce));  // every header prepared again
    EXPECT_EQ(std::pair(device.count("open"), device.count("prepare")), std::pair(2, 6));
}

struct WaveDevicesTest : ::testing::Test {
    WaveDeviceList enumerate() { return enumerateDevices(device, ui, options); }
    testing::FakeWaveOut device;
    testing::RecordingUi ui;
    SoundOptions options;
};

TEST_F(WaveDevicesTest, ListsTheMapperAndEveryDeviceAndKeepsOnlyAListedDevice) {
    device.devices = 2;
    device.names = {{-1, "Sound Mapper"}, {0, "Out: default"}, {1, "Out: hdmi"}};
    options.device = 1;
    const WaveDeviceList list = enumerate();
    EXPECT_EQ(deviceListTexts(list),
              (std::vector<std::string>{"Sound Mapper", "Out: default", "Out: hdmi"}));
    EXPECT_TRUE(list.mapperPresent && options.device == 1);
    options.device = -1;  // with a mapper, the mapper is a valid choice
    enumerate();
    EXPECT_EQ(options.device, -1);
    device.names = {{0, "a"}, {1, "b"}};  // no mapper, but devices: nothing is reported
    for (std::int16_t stored : {-1, 2, 32767, -32768}) {
        options.device = stored;
        EXPECT_FALSE(enumerate().mapperPresent);
        EXPECT_EQ(options.device, 0) << stored;
    }
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(WaveDevicesTest, NoDeviceOrOneThatDoesNotAnswerIsReported) {
    EXPECT_TRUE(deviceListTexts(enumerate()).empty());
    EXPECT_EQ(options.device, -1);
    device.devices = 3;
    device.names = {{-1, "m"}, {0, "a"}, {2, "c"}};
    device.capabilityErrors = {{1, 6}};
    EXPECT_EQ(enumerate().names, (std::vector<std::string>{"a", "", "c"}));  // keeps its place
    EXPECT_EQ(ui.boxes,
              (std::vector<Box>{{"No wave output device available!", "Sound System Failure 01"},
                                {"device error 6", "Wave out device error"}}));
}

TEST(SoundOptionsDialog, ListIndicesSizesRatesAndTheBufferCount) {
    EXPECT_EQ(std::tuple(deviceFromListIndex(0, true), deviceFromListIndex(3, false),
                         listIndexFromDevice(2, false)),
              std::tuple(-1, 3, 2));
    for (int device = -1; device < 4; ++device)
        EXPECT_EQ(deviceFromListIndex(listIndexFromDevice(device, true), true), device);
    EXPECT_EQ(bufferSizeFromIndex(6), 16384);  // the lists' texts: the dialog's own test
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(std::pair(bufferSizeIndex(bufferSizeFromIndex(i)),
                            sampleRateIndex(sampleRateFromIndex(i))),
                  std::pair(i, i));
    EXPECT_EQ(std::tuple(bufferSizeFromIndex(-1), bufferSizeFromIndex(7), sampleRateFromIndex(7),
                         bufferSizeIndex(4095), sampleRateIndex(12345)),
              std::tuple(0, 0, 0, -1, -1));
    EXPECT_EQ(std::tuple(parseBufferCount("3"), parseBufferCount(" 16\t")), std::tuple(3, 16));
    for (const char* refused : {"2", "17", "", "8.5", "x", "-8", "99999999999999"})
        EXPECT_FALSE(parseBufferCount(refused)) << refused;
}

}  // namespace
}  // namespace lumetra
