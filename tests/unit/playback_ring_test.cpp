#include "render/playback_ring.h"
#include "render/playback_sound.h"

#include <gtest/gtest.h>

#include <random>

#include "fake_wave_out.h"
#include "recording_ui.h"

namespace lumetra {
namespace {

using Box = testing::RecordingUi::Box;
using Position = testing::PlayPosition;

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
    // The device finishes a buffer of its queue and the main window handles the message.
    void playOne(std::size_t k = 0) { ring.onBufferDone(device.finish(k), sound); }
    void playAll() {
        for (int limit = 100000; !device.queue.empty() && limit > 0; --limit)
            playOne();
    }
    std::vector<std::int16_t> soundFrom(std::size_t start, std::size_t n) const {
        std::vector<std::int16_t> part;
        for (std::size_t i = 0; i < n; ++i)
            part.push_back(samples[(start + i) % samples.size()]);
        return part;
    }
    // What the device and the ring say of themselves; "queued 0" when closed and idle.
    std::string state() const {
        std::string s = device.isOpen ? "device " : "";
        if (ring.deviceOpen()) s += "open ";
        if (ring.active()) s += "active ";
        if (ring.playing()) s += "playing ";
        return s + "queued " + std::to_string(ring.queued());
    }

    SoundOptions options;
    testing::RecordingUi ui;
    testing::FakePlaybackUi view;
    testing::FakeWaveOut device;
    PlaybackRing ring;
    std::vector<std::int16_t> samples;
    PlaybackSoundView sound;
};

struct PlaybackRingTest : ::testing::Test, Rig {};

TEST_F(PlaybackRingTest, TheViewReadsTheSoundRecordAndTheRecordGetsTheRingState) {
    PlaybackSound record;
    record.samples = {1, 2, 3, 4, 5, 6};
    record.valuesPerColumn = 2;
    record.format.sampleRate = 44100;
    const PlaybackSoundView view = playbackView(record);
    EXPECT_EQ(view.samples.data(), record.samples.data());  // no copy
    ASSERT_TRUE(ring.allocateBuffers(3, 256));
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, view));
    EXPECT_EQ(device.openedFormat, record.format);
    // A sound shorter than a buffer fills each buffer once.
    EXPECT_EQ(device.writeBytes, (std::vector<std::uint32_t>{12, 12, 12}));
    ring.recordState(record);
    EXPECT_EQ(std::pair(record.repeat, record.position), std::pair(1, std::size_t{6}));
}

TEST_F(PlaybackRingTest, BufferAllocationRules) {
    EXPECT_TRUE(ring.allocateBuffers(3, 256));
    EXPECT_TRUE(ring.allocateBuffers(16, 16384));
    for (const auto& [count, size] : {std::pair{2, 4096}, {17, 4096}, {8, 4095}, {8, 32768}})
        EXPECT_FALSE(ring.allocateBuffers(count, size)) << count << " x " << size;
    EXPECT_EQ(std::pair(ring.bufferCount(), ring.bufferSize()), std::pair(16, 16384));  // kept
    // Refused while the device holds the buffers.
    useSound(5000);
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    EXPECT_FALSE(ring.allocateBuffers(8, 4096));
    ASSERT_TRUE(ring.togglePlayback(kStopForRender, sound));
    EXPECT_TRUE(ring.allocateBuffers(8, 4096));
}

TEST_F(PlaybackRingTest, EightBuffersOf4096QueueTheFirst32768ValuesBeforeTheStart) {
    options.device = 3;
    ASSERT_TRUE(start(8, 4096, 100000));
    std::vector<std::string> expected{"open"};
    expected.insert(expected.end(), 8, "prepare");
    expected.push_back("pause");
    expected.insert(expected.end(), 8, "write");
    expected.push_back("restart");
    EXPECT_EQ(device.calls, expected);
    EXPECT_EQ(device.writtenBeforeRestart, 32768u);
    EXPECT_EQ(device.stream, soundFrom(0, 32768));
    EXPECT_EQ(device.openedDevice, 3);
    EXPECT_EQ(device.headers.at(7).second, 8192u);  // buffer size x 2 bytes
    EXPECT_EQ(ring.position(), 32768);
    EXPECT_EQ(state(), "device open active playing queued 8");
    EXPECT_EQ(ui.lastStatus(), "Playing sound. Hit Space bar to stop.");
    EXPECT_EQ(view.playStates, std::vector<bool>{true});
    EXPECT_EQ(view.sent, (std::vector<Position>{{0, 0}}));
}

TEST_F(PlaybackRingTest, RepeatingPlayStartsAgainAtTheEnd) {
    ASSERT_TRUE(start(3, 256, 1000));  // three full buffers and a short one of 232 per round
    for (int i = 0; i < 40; ++i)
        playOne();
    EXPECT_TRUE(ring.playing());
    EXPECT_EQ(device.stream, soundFrom(0, device.stream.size()));
    EXPECT_GT(device.stream.size(), 10000u);
    EXPECT_EQ(std::vector(device.writeBytes.begin() + 3, device.writeBytes.begin() + 8),
              (std::vector<std::uint32_t>{464, 512, 512, 512, 464}));
}

TEST_F(PlaybackRingTest, OncePlayedSoundStopsAtTheEndAndClosesTheDevice) {
    ASSERT_TRUE(start(3, 256, 1000, kPlayOnce));
    EXPECT_FALSE(ring.repeat());
    playAll();
    EXPECT_EQ(device.stream, samples);  // exactly once
    EXPECT_EQ(device.writeBytes, (std::vector<std::uint32_t>{512, 512, 512, 464}));
    EXPECT_EQ(state(), "queued 0");
    EXPECT_EQ(ring.position(), 0);
    EXPECT_EQ(device.count("unprepare"), 3);
    EXPECT_TRUE(!view.playStates.back() && ui.lastStatus().empty());
    EXPECT_EQ(view.posted.back(), (Position{1, -1}));
    EXPECT_GE(view.invalidations, 1);
    EXPECT_EQ(ring.lastReportedPosition(), -1);
    // A sound shorter than the ring is all queued at the start and is not playing on from there.
    device.stream.clear();
    device.writeBytes.clear();
    ASSERT_TRUE(start(8, 4096, 5000, kPlayOnce));
    EXPECT_EQ(device.stream, samples);
    EXPECT_EQ(device.writeBytes, (std::vector<std::uint32_t>{8192, 1808}));
    EXPECT_EQ(state(), "device open active queued 2");
    playAll();
    EXPECT_EQ(state(), "queued 0");
}

TEST_F(PlaybackRingTest, SpaceLetsTheQueuedBuffersPlayOut) {
    ASSERT_TRUE(start(8, 4096, 200000));
    playOne();
    const std::size_t written = device.stream.size();
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));  // Space again: stop
    EXPECT_EQ(state(), "device open active queued 8");
    EXPECT_TRUE(!view.playStates.back() && ui.lastStatus().empty());
    view.posted.clear();
    for (int i = 0; i < 7; ++i) {
        playOne();
        EXPECT_TRUE(device.isOpen);
    }
    playOne();
    EXPECT_EQ(device.stream.size(), written);  // nothing refilled: at most count x size played
    EXPECT_EQ(view.posted, std::vector<Position>(8, Position{1, -1}));
    EXPECT_EQ(state(), "queued 0");
}

TEST_F(PlaybackRingTest, PlayAgainWhileDrainingGoesOnWhereItStopped) {
    ASSERT_TRUE(start(3, 256, 5000));
    playOne();
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));  // stop
    const std::size_t back = device.finish();                 // one buffer back, two still out
    ring.onBufferDone(back, sound);
    ring.onBufferDone(back, sound);  // stray messages: the same buffer again, and no buffer
    ring.onBufferDone(99, sound);
    EXPECT_EQ(ring.queued(), 2);
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));  // play again
    EXPECT_EQ(std::tuple(device.count("open"), device.count("pause"), device.count("restart")),
              std::tuple(1, 2, 2));
    EXPECT_EQ(state(), "device open active playing queued 3");
    EXPECT_EQ(device.stream, soundFrom(0, device.stream.size()));  // no jump back to the start
    EXPECT_EQ(ring.position(), 256 * 5);
}

TEST_F(PlaybackRingTest, BuffersReturnedInAnyOrderKeepTheSoundInOrder) {
    std::mt19937 random(7);
    ASSERT_TRUE(start(5, 512, 7777, kPlayOnce));
    while (!device.queue.empty())
        playOne(std::uniform_int_distribution<std::size_t>(0, device.queue.size() - 1)(random));
    EXPECT_EQ(device.stream, samples);
    EXPECT_EQ(state(), "queued 0");
}

TEST(PlaybackRingPosition, IsPostedOnceItMovedMoreThanTwoColumnsOrASixteenthSecond) {
    // Four buffers of 256: a report names the buffer's end plus 3. The smaller of two columns and
    // a sixteenth second decides; a move of exactly that much is still near the last report.
    struct Case {
        const char* label;
        std::size_t length;
        std::int32_t valuesPerColumn, sampleRate;
        int returned;
        std::vector<std::int64_t> ends;
    };
    const Case cases[] = {
        {"two columns: 512 values", 100000, 256, 22050, 12, {256, 1024, 1792, 2560}},
        {"a sixteenth second: 1536 values", 100000, 2000, 24576, 16, {256, 2048, 3840}},
        // No columns: every buffer, and after the end from the start again.
        {"no columns", 1024, 0, 22050, 6, {256, 512, 768, 1024, 256, 512}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Rig r;
        r.options.sampleRate = c.sampleRate;
        ASSERT_TRUE(r.ring.allocateBuffers(4, 256));
        r.useSound(c.length, c.valuesPerColumn);
        ASSERT_TRUE(r.ring.togglePlayback(kPlayRepeating, r.sound));
        for (int i = 0; i < c.returned; ++i)
            r.playOne();
        std::vector<Position> expected;
        for (std::int64_t end : c.ends)
            expected.emplace_back(1, end + 3);
        EXPECT_EQ(r.view.posted, expected);
        EXPECT_EQ(r.ring.lastReportedPosition(), c.ends.back());
    }
}

TEST_F(PlaybackRingTest, NoSoundToPlayAndNothingToStop) {
    EXPECT_FALSE(start(8, 4096, 0));
    EXPECT_EQ(ui.lastStatus(), "No sound to play back!");
    EXPECT_EQ(view.playStates.back(), false);
    EXPECT_TRUE(view.sent.empty());
    EXPECT_TRUE(ring.stopPlaybackAndWait());
    EXPECT_TRUE(ring.togglePlayback(kStopForRender, sound));
    EXPECT_TRUE(view.sleeps.empty() && device.calls.empty() && !ring.active());
    useSound(293, 294);  // less than one column
    EXPECT_FALSE(ring.togglePlayback(kPlayOnce, sound));
    EXPECT_EQ(ui.lastStatus(), "No sound to play back!");
    useSound(294, 294);
    EXPECT_TRUE(ring.togglePlayback(kPlayOnce, sound));
}

TEST_F(PlaybackRingTest, StopBeforeARenderWaitsForTheBuffers) {
    ASSERT_TRUE(start(8, 4096, 100000));
    ui.statusLog.clear();
    EXPECT_TRUE(ring.togglePlayback(kStopForRender, sound));
    EXPECT_EQ(view.sent.back(), (Position{1, -1}));
    EXPECT_EQ(ui.statusTexts(0), (std::vector<std::string>{"Waiting for playback to quit...", ""}));
    EXPECT_FALSE(view.playStates.back());
    EXPECT_TRUE(view.sleeps.empty());  // the reset returned every buffer at once
    EXPECT_EQ(state(), "queued 0");
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
    EXPECT_FALSE(ring.togglePlayback(kStopForRender, sound));
    EXPECT_EQ(view.sleeps, std::vector<int>(52, 20));
    EXPECT_EQ(ui.lastStatus(), "Waiting for playback to quit...");
    EXPECT_EQ(view.playStates.size(), states);  // nothing else changes
    EXPECT_EQ(state(), "device open active queued 8");
    // The buffers come back later through the message loop and close the device then.
    playAll();
    EXPECT_EQ(state(), "queued 0");
}

TEST(PlaybackRingFailures, AFailedStartWarnsOnceAndLeavesTheRingReadyForTheNextStart) {
    struct Case {
        const char* call;
        int number;  // of the failing call of its name: 0 = the first
        int code;
        bool refused;         // the start returns false
        std::int32_t queued;  // buffers still with the device
    };
    const Case cases[] = {
        {"open", 0, 2, true, 0},    {"prepare", 0, 3, true, 0},
        {"prepare", 2, 3, true, 0},  // the two prepared are unprepared
        {"pause", 0, 4, true, 0},   {"restart", 0, 5, true, 4},
        {"write", 0, 6, false, 0},  {"write", 2, 6, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.call << " #" << c.number);
        Rig r;
        r.device.failures[c.call] = {c.number, c.code};
        EXPECT_EQ(r.start(4, 256, 5000), !c.refused);
        EXPECT_EQ(r.ui.boxes, std::vector<Box>{failure(c.code)});
        EXPECT_EQ(r.device.count(c.call), c.number + 1);  // no more such calls after the failure
        EXPECT_EQ(r.state(),
                  (r.device.isOpen ? "device open queued " : "queued ") + std::to_string(c.queued));
        EXPECT_TRUE(!r.view.playStates.back() && r.ui.lastStatus().empty());
        EXPECT_TRUE(r.view.sent.empty());  // no play marker for a sound that does not play
        // What is still out comes back and closes the device; no buffer stays marked as queued.
        r.playAll();
        EXPECT_EQ(r.state(), "queued 0");
        EXPECT_TRUE(r.ring.togglePlayback(kPlayRepeating, r.sound));
        EXPECT_EQ(r.ring.queued(), 4);
    }
}

// A failure later on warns, and the ring still ends with every buffer back and the device closed.
TEST_F(PlaybackRingTest, WriteFailure06DuringARefillAndCloseFailure08) {
    ASSERT_TRUE(start(3, 256, 5000, kPlayOnce));
    device.failNext("write", 6);
    playOne();
    EXPECT_EQ(ui.boxes.back(), failure(6));
    EXPECT_EQ(state(), "device open queued 2");
    device.failNext("close", 8);
    device.longErrorTexts = true;  // cut to 400 characters
    playAll();
    EXPECT_EQ(ui.boxes.back(), (Box{std::string(400, 'e'), "Sound System Failure 08"}));
    EXPECT_EQ(state(), "device queued 0");  // the ring forgets it all the same
}

TEST_F(PlaybackRingTest, ResetFailure09GivesTheDeviceUpUnprepareFailure10IsRetried) {
    ASSERT_TRUE(start(3, 256, 600, kPlayOnce));
    playOne();
    playOne();
    device.failNext("reset", 9);
    device.headers.clear();  // the fake's close would complain about them otherwise
    playOne();
    EXPECT_EQ(ui.boxes.back(), failure(9));
    EXPECT_EQ(state(), "queued 0");
    // The next play opens a fresh device and prepares every header again.
    ASSERT_TRUE(ring.togglePlayback(kPlayOnce, sound));
    EXPECT_EQ(device.count("open"), 2);
    EXPECT_EQ(device.count("prepare"), 6);
    device.failNext("unprepare", 10);
    playAll();
    EXPECT_EQ(ui.boxes.back(), failure(10));
    EXPECT_EQ(state(), "device open queued 0");
    // Playing again reuses the open device with its prepared headers; the close at its end
    // unprepares them all and closes.
    ASSERT_TRUE(ring.togglePlayback(kPlayOnce, sound));
    EXPECT_EQ(device.count("open"), 2);
    playAll();
    EXPECT_EQ(state(), "queued 0");
    EXPECT_EQ(ui.boxes.size(), 2u);
}

}  // namespace
}  // namespace lumetra
