#include "render/playback_ring.h"
#include "render/playback_sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <numeric>
#include <random>

namespace lumetra {
namespace {

// The user interface as the ring sees it; completion messages wait in `pending` like posted
// window messages.
class FakeUi : public PlaybackUi {
  public:
    std::vector<std::string> statuses;
    std::vector<std::pair<std::string, std::string>> warnings;  // text, caption
    std::vector<std::pair<std::int32_t, std::int64_t>> sent;
    std::vector<std::pair<std::int32_t, std::int64_t>> posted;
    std::vector<bool> playStates;
    int invalidations = 0;
    std::deque<std::size_t> pending;
    std::vector<int> sleeps;
    std::function<void()> onSleep;

    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void showWarning(const std::string& text, const std::string& caption) override {
        warnings.emplace_back(text, caption);
    }
    void sendPlayPosition(std::int32_t w, std::int64_t l) override { sent.emplace_back(w, l); }
    void postPlayPosition(std::int32_t w, std::int64_t l) override { posted.emplace_back(w, l); }
    void showPlayState(bool playing) override { playStates.push_back(playing); }
    void invalidateCanvas() override { ++invalidations; }
    std::vector<std::size_t> takeFinishedBuffers() override {
        std::vector<std::size_t> taken(pending.begin(), pending.end());
        pending.clear();
        return taken;
    }
    void sleep(int milliseconds) override {
        sleeps.push_back(milliseconds);
        if (onSleep) onSleep();
    }
    std::string status() const { return statuses.empty() ? "<none>" : statuses.back(); }
};

// A wave-out device that keeps what was written, returns buffers when told to, and fails any
// call on demand (with the given error code, once or every time).
class FakeWaveOut : public WaveOutPort {
  public:
    explicit FakeWaveOut(FakeUi& ui) : ui_(ui) {}

    std::map<std::string, int> failures;        // call -> error code, every time
    std::map<std::string, int> failOnce;        // call -> error code, next call only
    std::map<std::string, int> failCallNumber;  // call -> 0-based number of the call that fails
    int failWriteNumber = -1;                   // 0-based number of the write that fails
    std::vector<std::string> calls;
    std::deque<std::size_t> queue;     // buffers in the device's hands, in play order
    std::vector<std::int16_t> stream;  // every value written, in write order
    std::vector<std::uint32_t> writeBytes;
    std::map<std::size_t, std::pair<std::int16_t*, std::uint32_t>> headers;
    bool open_ = false;
    bool paused = false;
    bool resetReturnsBuffers = true;
    std::int32_t openedDevice = -99;
    OutputFormat openedFormat;
    std::size_t writesBeforeRestart = 0;
    int writes = 0;

    int open(std::int32_t device, const OutputFormat& format) override {
        if (int code = call("open")) return code;
        open_ = true;
        openedDevice = device;
        openedFormat = format;
        return 0;
    }
    int prepare(std::size_t i, std::int16_t* data, std::uint32_t bytes) override {
        if (int code = call("prepare")) return code;
        headers[i] = {data, bytes};
        return 0;
    }
    int unprepare(std::size_t i) override {
        if (int code = call("unprepare")) return code;
        headers.erase(i);
        return 0;
    }
    int write(std::size_t i, std::uint32_t bytes) override {
        const int number = writes++;
        if (int code = call("write")) return code;
        if (number == failWriteNumber) return 33;
        EXPECT_TRUE(headers.count(i)) << "write of an unprepared buffer";
        EXPECT_LE(bytes, headers[i].second);
        EXPECT_EQ(std::count(queue.begin(), queue.end(), i), 0) << "buffer written twice";
        const std::int16_t* data = headers[i].first;
        stream.insert(stream.end(), data, data + bytes / 2);
        writeBytes.push_back(bytes);
        queue.push_back(i);
        return 0;
    }
    int pause() override {
        if (int code = call("pause")) return code;
        paused = true;
        return 0;
    }
    int restart() override {
        if (int code = call("restart")) return code;
        paused = false;
        writesBeforeRestart = stream.size();
        return 0;
    }
    int reset() override {
        if (int code = call("reset")) return code;
        if (resetReturnsBuffers) {
            ui_.pending.insert(ui_.pending.end(), queue.begin(), queue.end());
            queue.clear();
        }
        return 0;
    }
    int close() override {
        if (int code = call("close")) return code;
        EXPECT_TRUE(queue.empty()) << "closed with buffers queued";
        EXPECT_TRUE(headers.empty()) << "closed with prepared headers";
        open_ = false;
        return 0;
    }
    std::string errorText(int code) override { return "device error " + std::to_string(code); }

    // The device finishes buffer number `k` of its queue (0 = the oldest).
    std::size_t finish(std::size_t k = 0) {
        const std::size_t index = queue.at(k);
        queue.erase(queue.begin() + std::ptrdiff_t(k));
        return index;
    }
    int count(const std::string& name) const {
        return int(std::count(calls.begin(), calls.end(), name));
    }

  private:
    int call(const std::string& name) {
        calls.push_back(name);
        if (auto it = failCallNumber.find(name);
            it != failCallNumber.end() && count(name) - 1 == it->second)
            return 40 + it->second;
        if (auto it = failOnce.find(name); it != failOnce.end()) {
            const int code = it->second;
            failOnce.erase(it);
            return code;
        }
        auto it = failures.find(name);
        return it == failures.end() ? 0 : it->second;
    }
    FakeUi& ui_;
};

std::vector<std::int16_t> ramp(std::size_t length) {
    std::vector<std::int16_t> values(length);
    for (std::size_t i = 0; i < length; ++i)
        values[i] = static_cast<std::int16_t>(i * 7 % 65521 - 32000);
    return values;
}

class PlaybackRingTest : public ::testing::Test {
  protected:
    PlaybackRingTest() : device(ui), ring(device, ui, options) {}

    void useBuffers(std::int32_t count, std::int32_t size) {
        options.bufferCount = count;
        options.bufferSize = size;
        ASSERT_TRUE(ring.allocateBuffers(count, size));
    }
    void useSound(std::size_t length, std::int32_t valuesPerColumn = 294) {
        samples = ramp(length);
        sound.samples = samples;
        sound.valuesPerColumn = valuesPerColumn;
        sound.format = OutputFormat{1, 2, 22050, 88200, 4, 16, 0};
    }
    // The device finishes its oldest buffer and the main window handles the message.
    void playOne(std::size_t k = 0) { ring.onBufferDone(device.finish(k), sound); }
    void playAll(int limit = 100000) {
        while (!device.queue.empty() && limit-- > 0)
            playOne();
    }
    std::vector<std::int16_t> soundFrom(std::size_t start, std::size_t n) const {
        std::vector<std::int16_t> part;
        for (std::size_t i = 0; i < n; ++i)
            part.push_back(samples[(start + i) % samples.size()]);
        return part;
    }
    void expectClosedAndIdle() {
        EXPECT_FALSE(device.open_);
        EXPECT_FALSE(ring.deviceOpen());
        EXPECT_FALSE(ring.active());
        EXPECT_FALSE(ring.playing());
        EXPECT_EQ(ring.queued(), 0);
    }

    SoundOptions options;
    FakeUi ui;
    FakeWaveOut device;
    PlaybackRing ring;
    std::vector<std::int16_t> samples;
    PlaybackSoundView sound;
};

TEST(PlaybackSoundView, ReadsTheSoundRecordAndRecordsTheRingState) {
    PlaybackSound record;
    record.samples = {1, 2, 3, 4, 5, 6};
    record.valuesPerColumn = 2;
    record.format.channels = 2;
    record.format.sampleRate = 44100;
    const PlaybackSoundView view = playbackView(record);
    EXPECT_EQ(view.samples.data(), record.samples.data());
    EXPECT_EQ(view.samples.size(), 6u);
    EXPECT_EQ(view.valuesPerColumn, 2);
    EXPECT_EQ(view.format, record.format);

    FakeUi ui;
    FakeWaveOut device(ui);
    SoundOptions options;
    PlaybackRing ring(device, ui, options);
    ASSERT_TRUE(ring.allocateBuffers(3, 256));
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, view));
    ring.recordState(record);
    EXPECT_EQ(record.repeat, 1);
    EXPECT_EQ(record.position, 6u);
}

TEST(PlaybackCaptions, AreNumberedWithTwoDigits) {
    EXPECT_EQ(soundSystemFailureCaption(1), "Sound System Failure 01");
    EXPECT_EQ(soundSystemFailureCaption(6), "Sound System Failure 06");
    EXPECT_EQ(soundSystemFailureCaption(10), "Sound System Failure 10");
}

TEST_F(PlaybackRingTest, BufferAllocationRules) {
    EXPECT_TRUE(ring.allocateBuffers(3, 256));
    EXPECT_TRUE(ring.allocateBuffers(16, 16384));
    EXPECT_EQ(ring.bufferCount(), 16);
    EXPECT_EQ(ring.bufferSize(), 16384);
    EXPECT_FALSE(ring.allocateBuffers(2, 4096));
    EXPECT_FALSE(ring.allocateBuffers(17, 4096));
    EXPECT_FALSE(ring.allocateBuffers(8, 4095));
    EXPECT_FALSE(ring.allocateBuffers(8, 32768));
    EXPECT_EQ(ring.bufferCount(), 16);  // a refusal keeps the ring as it was
    EXPECT_EQ(ring.bufferSize(), 16384);
}

TEST_F(PlaybackRingTest, EightBuffersOf4096QueueTheFirst32768ValuesBeforeTheStart) {
    useBuffers(8, 4096);
    useSound(100000);
    options.device = 3;
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    const std::vector<std::string> expected = {
        "open",    "prepare", "prepare", "prepare", "prepare", "prepare", "prepare",
        "prepare", "prepare", "pause",   "write",   "write",   "write",   "write",
        "write",   "write",   "write",   "write",   "restart"};
    EXPECT_EQ(device.calls, expected);
    EXPECT_EQ(device.writesBeforeRestart, 32768u);
    EXPECT_EQ(device.stream, soundFrom(0, 32768));
    EXPECT_EQ(device.openedDevice, 3);
    EXPECT_EQ(device.openedFormat, sound.format);
    for (const auto& [index, header] : device.headers)
        EXPECT_EQ(header.second, 8192u);  // buffer size x 2 bytes
    EXPECT_EQ(ring.queued(), 8);
    EXPECT_EQ(ring.position(), 32768);
    EXPECT_TRUE(ring.active());
    EXPECT_TRUE(ring.playing());
    EXPECT_TRUE(ring.repeat());
    EXPECT_EQ(ui.status(), "Playing sound. Hit Space bar to stop.");
    EXPECT_EQ(ui.playStates, std::vector<bool>{true});
    EXPECT_EQ(ui.sent, (std::vector<std::pair<std::int32_t, std::int64_t>>{{0, 0}}));
}

TEST_F(PlaybackRingTest, RepeatingPlayStartsAgainAtTheEnd) {
    useBuffers(3, 256);
    useSound(1000);  // three full buffers and a short one of 232 per round
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    for (int i = 0; i < 40; ++i)
        playOne();
    EXPECT_TRUE(ring.playing());
    EXPECT_EQ(device.stream, soundFrom(0, device.stream.size()));
    EXPECT_GT(device.stream.size(), 10000u);
    // Every round ends with the short buffer of 232 values.
    EXPECT_EQ(device.writeBytes[3], 464u);
    EXPECT_EQ(device.writeBytes[7], 464u);
    EXPECT_EQ(device.writeBytes[4], 512u);
}

TEST_F(PlaybackRingTest, OncePlayedSoundStopsAtTheEndAndClosesTheDevice) {
    useBuffers(3, 256);
    useSound(1000);
    ASSERT_TRUE(ring.togglePlayback(kPlayOnce, sound));
    EXPECT_FALSE(ring.repeat());
    playAll();
    EXPECT_EQ(device.stream, samples);  // exactly once
    EXPECT_EQ(device.writeBytes, (std::vector<std::uint32_t>{512, 512, 512, 464}));
    expectClosedAndIdle();
    EXPECT_EQ(ring.position(), 0);
    EXPECT_EQ(device.count("unprepare"), 3);
    EXPECT_EQ(device.count("close"), 1);
    EXPECT_EQ(ui.playStates.back(), false);
    EXPECT_EQ(ui.status(), "");
    EXPECT_EQ(ui.posted.back(), (std::pair<std::int32_t, std::int64_t>{1, -1}));
    EXPECT_GE(ui.invalidations, 1);
    EXPECT_EQ(ring.lastReportedPosition(), -1);
}

TEST_F(PlaybackRingTest, ASoundShorterThanTheRingPlaysOnceAndCloses) {
    useBuffers(8, 4096);
    useSound(5000);
    ASSERT_TRUE(ring.togglePlayback(kPlayOnce, sound));
    EXPECT_EQ(device.stream, samples);
    EXPECT_EQ(device.writeBytes, (std::vector<std::uint32_t>{8192, 1808}));
    EXPECT_FALSE(ring.playing());
    EXPECT_TRUE(ring.active());
    playAll();
    expectClosedAndIdle();
}

TEST_F(PlaybackRingTest, SpaceLetsTheQueuedBuffersPlayOut) {
    useBuffers(8, 4096);
    useSound(200000);
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    playOne();
    playOne();
    const std::size_t written = device.stream.size();
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));  // Space again: stop
    EXPECT_FALSE(ring.playing());
    EXPECT_TRUE(ring.active());
    EXPECT_EQ(ui.status(), "");
    EXPECT_EQ(ui.playStates.back(), false);
    EXPECT_EQ(ring.queued(), 8);
    ui.posted.clear();
    for (int i = 0; i < 7; ++i) {
        playOne();
        EXPECT_TRUE(device.open_);
    }
    playOne();
    EXPECT_EQ(device.stream.size(), written);  // nothing refilled: at most count x size played
    EXPECT_EQ(ui.posted.size(), 8u);
    for (const auto& message : ui.posted)
        EXPECT_EQ(message, (std::pair<std::int32_t, std::int64_t>{1, -1}));
    expectClosedAndIdle();
}

TEST_F(PlaybackRingTest, PlayAgainWhileDrainingGoesOnWhereItStopped) {
    useBuffers(3, 256);
    useSound(5000);
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    playOne();
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));  // stop
    playOne();                                                // one buffer back, two still out
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));  // play again
    EXPECT_EQ(device.count("open"), 1);
    EXPECT_EQ(device.count("pause"), 2);
    EXPECT_EQ(device.count("restart"), 2);
    EXPECT_EQ(ring.queued(), 3);
    EXPECT_EQ(device.stream, soundFrom(0, device.stream.size()));  // no jump back to the start
    EXPECT_EQ(ring.position(), 256 * 5);
}

TEST_F(PlaybackRingTest, BuffersReturnedInAnyOrderKeepTheSoundInOrder) {
    useBuffers(5, 512);
    useSound(7777);
    std::mt19937 random(7);
    ASSERT_TRUE(ring.togglePlayback(kPlayOnce, sound));
    while (!device.queue.empty()) {
        std::uniform_int_distribution<std::size_t> pick(0, device.queue.size() - 1);
        playOne(pick(random));
    }
    EXPECT_EQ(device.stream, samples);
    expectClosedAndIdle();
}

TEST_F(PlaybackRingTest, StrayCompletionMessagesChangeNothing) {
    useBuffers(3, 256);
    useSound(5000);
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));  // stop: buffers drain
    const std::size_t index = device.finish();
    ring.onBufferDone(index, sound);
    EXPECT_EQ(ring.queued(), 2);
    ring.onBufferDone(index, sound);  // the same buffer reported again
    ring.onBufferDone(99, sound);     // no such buffer
    EXPECT_EQ(ring.queued(), 2);
    EXPECT_TRUE(ring.deviceOpen());
    playAll();
    expectClosedAndIdle();
}

TEST_F(PlaybackRingTest, PlayPositionIsPostedOnceItMovedTwoColumns) {
    useBuffers(4, 256);
    useSound(100000, 294);  // two columns: 588 values; 22050 / 16 = 1378
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    for (int i = 0; i < 12; ++i)
        playOne();
    // Buffer ends 256, 512, ...: a report at 256, then whenever 768 or more values passed.
    std::vector<std::pair<std::int32_t, std::int64_t>> expected;
    for (std::int64_t end : {256, 1024, 1792, 2560})
        expected.emplace_back(1, end + 4 - 1);
    EXPECT_EQ(ui.posted, expected);
    EXPECT_EQ(ring.lastReportedPosition(), 2560);
}

TEST_F(PlaybackRingTest, PlayPositionIsPostedOnceItMovedASixteenthSecond) {
    useBuffers(4, 256);
    useSound(100000, 2000);  // two columns: 4000 values; the 1378 of SR div 16 is smaller
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    for (int i = 0; i < 14; ++i)
        playOne();
    std::vector<std::pair<std::int32_t, std::int64_t>> expected;
    for (std::int64_t end : {256, 1792, 3328})
        expected.emplace_back(1, end + 3);
    EXPECT_EQ(ui.posted, expected);
}

TEST_F(PlaybackRingTest, WrappingAroundReportsTheNewPosition) {
    useBuffers(3, 256);
    useSound(1024, 0);
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    for (int i = 0; i < 6; ++i)
        playOne();
    // With no columns every buffer is reported; after the end the positions start again.
    std::vector<std::int64_t> ends;
    for (const auto& [w, l] : ui.posted)
        ends.push_back(l - 2);
    EXPECT_EQ(ends, (std::vector<std::int64_t>{256, 512, 768, 1024, 256, 512}));
}

TEST_F(PlaybackRingTest, NoSoundToPlay) {
    useBuffers(8, 4096);
    useSound(0);
    EXPECT_FALSE(ring.togglePlayback(kPlayRepeating, sound));
    EXPECT_EQ(ui.status(), "No sound to play back!");
    EXPECT_TRUE(device.calls.empty());
    EXPECT_FALSE(ring.active());
    EXPECT_FALSE(ring.playing());
    EXPECT_EQ(ui.playStates.back(), false);
    EXPECT_TRUE(ui.sent.empty());

    useSound(293, 294);  // less than one column
    EXPECT_FALSE(ring.togglePlayback(kPlayOnce, sound));
    EXPECT_EQ(ui.status(), "No sound to play back!");
    useSound(294, 294);
    EXPECT_TRUE(ring.togglePlayback(kPlayOnce, sound));
}

TEST_F(PlaybackRingTest, StopBeforeARenderWaitsForTheBuffers) {
    useBuffers(8, 4096);
    useSound(100000);
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    ui.statuses.clear();
    EXPECT_TRUE(ring.togglePlayback(kStopForRender, sound));
    EXPECT_EQ(ui.sent.back(), (std::pair<std::int32_t, std::int64_t>{1, -1}));
    EXPECT_EQ(ui.statuses, (std::vector<std::string>{"Waiting for playback to quit...", ""}));
    EXPECT_EQ(ui.playStates.back(), false);
    EXPECT_TRUE(ui.sleeps.empty());  // the reset returned every buffer at once
    expectClosedAndIdle();
}

TEST_F(PlaybackRingTest, StopWaitsForLateBuffers) {
    useBuffers(8, 4096);
    useSound(100000);
    device.resetReturnsBuffers = false;
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    ui.onSleep = [&] {  // the device hands back one buffer per 20 ms
        if (!device.queue.empty()) ui.pending.push_back(device.finish());
    };
    EXPECT_TRUE(ring.stopPlaybackAndWait());
    EXPECT_EQ(ui.sleeps.size(), 8u);
    EXPECT_EQ(ui.sleeps.front(), 20);
    expectClosedAndIdle();
}

TEST_F(PlaybackRingTest, StopGivesUpAfter52Tries) {
    useBuffers(8, 4096);
    useSound(100000);
    device.resetReturnsBuffers = false;
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    const auto states = ui.playStates.size();
    EXPECT_FALSE(ring.togglePlayback(kStopForRender, sound));
    EXPECT_EQ(ui.sleeps, std::vector<int>(52, 20));
    EXPECT_EQ(ui.status(), "Waiting for playback to quit...");
    EXPECT_EQ(ui.playStates.size(), states);  // nothing else changes
    EXPECT_TRUE(ring.deviceOpen());
    EXPECT_TRUE(ring.active());
    EXPECT_EQ(ring.queued(), 8);
    // The buffers come back later through the message loop and close the device then.
    playAll();
    expectClosedAndIdle();
}

TEST_F(PlaybackRingTest, StopWithNothingPlayingReturnsAtOnce) {
    useBuffers(8, 4096);
    EXPECT_TRUE(ring.stopPlaybackAndWait());
    EXPECT_TRUE(ring.togglePlayback(kStopForRender, sound));
    EXPECT_TRUE(device.calls.empty());
    EXPECT_TRUE(ui.sleeps.empty());
}

TEST_F(PlaybackRingTest, OpenFailure02) {
    useBuffers(8, 4096);
    useSound(100000);
    device.failOnce["open"] = 2;
    EXPECT_FALSE(ring.togglePlayback(kPlayRepeating, sound));
    ASSERT_EQ(ui.warnings.size(), 1u);
    EXPECT_EQ(ui.warnings[0],
              (std::pair<std::string, std::string>{"device error 2", "Sound System Failure 02"}));
    expectClosedAndIdle();
    EXPECT_EQ(ui.status(), "");
    EXPECT_EQ(ui.playStates.back(), false);
    EXPECT_TRUE(ui.sent.empty());
    EXPECT_TRUE(ring.togglePlayback(kPlayRepeating, sound));  // the next try works
}

TEST_F(PlaybackRingTest, PrepareFailure03) {
    useBuffers(8, 4096);
    useSound(100000);
    device.failures["prepare"] = 11;
    EXPECT_FALSE(ring.togglePlayback(kPlayRepeating, sound));
    ASSERT_EQ(ui.warnings.size(), 1u);
    EXPECT_EQ(ui.warnings[0].second, "Sound System Failure 03");
    expectClosedAndIdle();  // the device is not left open with nothing queued
    device.failures.clear();
    EXPECT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    EXPECT_EQ(ring.queued(), 8);
}

TEST_F(PlaybackRingTest, PrepareFailureHalfwayUnpreparesWhatWasPrepared) {
    useBuffers(3, 256);
    useSound(5000);
    device.failCallNumber["prepare"] = 1;  // the second header
    EXPECT_FALSE(ring.togglePlayback(kPlayOnce, sound));
    EXPECT_EQ(ui.warnings.back().second, "Sound System Failure 03");
    EXPECT_EQ(device.count("unprepare"), 1);
    expectClosedAndIdle();
    ASSERT_TRUE(ring.togglePlayback(kPlayOnce, sound));
    EXPECT_EQ(device.headers.size(), 3u);
    playAll();
    expectClosedAndIdle();
}

TEST_F(PlaybackRingTest, PauseFailure04AndRestartFailure05) {
    useBuffers(3, 256);
    useSound(5000);
    device.failOnce["pause"] = 4;
    EXPECT_FALSE(ring.togglePlayback(kPlayRepeating, sound));
    EXPECT_EQ(ui.warnings.back().second, "Sound System Failure 04");
    expectClosedAndIdle();

    device.failOnce["restart"] = 5;
    EXPECT_FALSE(ring.togglePlayback(kPlayRepeating, sound));
    EXPECT_EQ(ui.warnings.back().second, "Sound System Failure 05");
    EXPECT_EQ(ui.warnings.back().first, "device error 5");
    EXPECT_FALSE(ring.active());
    EXPECT_FALSE(ring.playing());
    EXPECT_EQ(ui.playStates.back(), false);
}

TEST_F(PlaybackRingTest, WriteFailure06DuringTheStart) {
    useBuffers(4, 256);
    useSound(5000);
    device.failWriteNumber = 2;
    ring.togglePlayback(kPlayRepeating, sound);
    ASSERT_EQ(ui.warnings.size(), 1u);
    EXPECT_EQ(ui.warnings[0],
              (std::pair<std::string, std::string>{"device error 33", "Sound System Failure 06"}));
    EXPECT_FALSE(ring.playing());
    EXPECT_FALSE(ring.active());
    EXPECT_EQ(ring.queued(), 2);
    EXPECT_EQ(device.count("write"), 3);  // nothing written after the failure
    playAll();
    expectClosedAndIdle();
    // The failed buffer was not left marked as queued: a new start fills all four.
    EXPECT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    EXPECT_EQ(ring.queued(), 4);
}

TEST_F(PlaybackRingTest, WriteFailure06OfTheFirstBufferClosesTheDevice) {
    useBuffers(4, 256);
    useSound(5000);
    device.failWriteNumber = 0;
    ring.togglePlayback(kPlayRepeating, sound);
    EXPECT_EQ(ui.warnings.back().second, "Sound System Failure 06");
    expectClosedAndIdle();
}

TEST_F(PlaybackRingTest, WriteFailure06DuringARefill) {
    useBuffers(3, 256);
    useSound(5000);
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    device.failWriteNumber = device.writes;  // the next write
    playOne();
    EXPECT_EQ(ui.warnings.back().second, "Sound System Failure 06");
    EXPECT_FALSE(ring.active());
    EXPECT_EQ(ring.queued(), 2);
    playAll();
    expectClosedAndIdle();
}

TEST_F(PlaybackRingTest, ResetFailure07WhileStopping) {
    useBuffers(3, 256);
    useSound(5000);
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    device.failOnce["reset"] = 7;
    ui.onSleep = [&] {
        if (!device.queue.empty()) ui.pending.push_back(device.finish());
    };
    EXPECT_TRUE(ring.stopPlaybackAndWait());
    EXPECT_EQ(ui.warnings.at(0).second, "Sound System Failure 07");
    expectClosedAndIdle();
}

TEST_F(PlaybackRingTest, CloseFailure08StillForgetsTheDevice) {
    useBuffers(3, 256);
    useSound(600);
    device.failOnce["close"] = 8;
    ASSERT_TRUE(ring.togglePlayback(kPlayOnce, sound));
    playAll();
    EXPECT_EQ(ui.warnings.back().second, "Sound System Failure 08");
    EXPECT_FALSE(ring.deviceOpen());
    EXPECT_FALSE(ring.active());
}

TEST_F(PlaybackRingTest, ResetFailure09WhenClosingGivesTheDeviceUp) {
    useBuffers(3, 256);
    useSound(600);
    ASSERT_TRUE(ring.togglePlayback(kPlayOnce, sound));
    playOne();
    playOne();
    device.failOnce["reset"] = 9;
    device.headers.clear();  // the fake's close would complain about them otherwise
    playOne();
    EXPECT_EQ(ui.warnings.back(),
              (std::pair<std::string, std::string>{"device error 9", "Sound System Failure 09"}));
    EXPECT_FALSE(ring.deviceOpen());
    EXPECT_FALSE(ring.active());
    EXPECT_FALSE(ring.playing());
    EXPECT_EQ(ring.queued(), 0);
    // The next play opens a fresh device and prepares every header again.
    ASSERT_TRUE(ring.togglePlayback(kPlayOnce, sound));
    EXPECT_EQ(device.count("open"), 2);
    EXPECT_EQ(device.count("prepare"), 6);
}

TEST_F(PlaybackRingTest, UnprepareFailure10IsRetriedAtTheNextClose) {
    useBuffers(3, 256);
    useSound(600);
    ASSERT_TRUE(ring.togglePlayback(kPlayOnce, sound));
    device.failOnce["unprepare"] = 10;
    playAll();
    EXPECT_EQ(ui.warnings.back(),
              (std::pair<std::string, std::string>{"device error 10", "Sound System Failure 10"}));
    EXPECT_FALSE(ring.active());
    EXPECT_FALSE(ring.playing());
    EXPECT_TRUE(ring.deviceOpen());
    // Playing again reuses the open device with its prepared headers; the close at its end
    // unprepares them all and closes.
    ASSERT_TRUE(ring.togglePlayback(kPlayOnce, sound));
    EXPECT_EQ(device.count("open"), 1);
    playAll();
    expectClosedAndIdle();
    EXPECT_EQ(ui.warnings.size(), 1u);
}

TEST_F(PlaybackRingTest, ErrorTextsAreCutTo400Characters) {
    struct LongTexts : FakeWaveOut {
        using FakeWaveOut::FakeWaveOut;
        std::string errorText(int) override { return std::string(500, 'e'); }
    } longDevice(ui);
    PlaybackRing longRing(longDevice, ui, options);
    ASSERT_TRUE(longRing.allocateBuffers(3, 256));
    useSound(5000);
    longDevice.failOnce["open"] = 1;
    longRing.togglePlayback(kPlayRepeating, sound);
    EXPECT_EQ(ui.warnings.back().first.size(), 400u);
}

TEST_F(PlaybackRingTest, AllocationIsRefusedWhileTheDeviceHoldsTheBuffers) {
    useBuffers(3, 256);
    useSound(5000);
    ASSERT_TRUE(ring.togglePlayback(kPlayRepeating, sound));
    EXPECT_FALSE(ring.allocateBuffers(8, 4096));
    ASSERT_TRUE(ring.togglePlayback(kStopForRender, sound));
    EXPECT_TRUE(ring.allocateBuffers(8, 4096));
}

}  // namespace
}  // namespace lumetra
