#pragma once
// Playback of the latest sound through a ring of equally sized buffers that are queued to the
// wave-out device and refilled as the device hands them back. The device is paused while the
// ring is first queued, so that it starts with every buffer in hand. While the ring runs, a play
// position goes to the canvas now and then.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/user_interface.h"
#include "render/playback_ports.h"
#include "render/sound_options.h"

namespace lumetra {

struct PlaybackSound;

// What the ring reads of the latest sound. The owner builds it for each call (playbackView), so
// the ring never holds on to samples that a render may replace.
struct PlaybackSoundView {
    std::span<const std::int16_t> samples;  // interleaved left, right in stereo
    std::int32_t valuesPerColumn = 0;       // channels * samples per picture column
    OutputFormat format;
};

PlaybackSoundView playbackView(const PlaybackSound& sound);

inline constexpr std::string_view kPlayingText = "Playing sound. Hit Space bar to stop.";
inline constexpr std::string_view kNoSoundText = "No sound to play back!";
inline constexpr std::string_view kWaitingText = "Waiting for playback to quit...";
inline constexpr std::string_view kFailedToQuitText = "Failed to quit playback... try again";
inline constexpr std::string_view kPlayMenuText = "Play last generated sound";  // string 320
inline constexpr std::string_view kStopMenuText = "Stop sound playback";        // string 322

inline constexpr int kPlayCommand = 320;
inline constexpr int kStopCommand = 322;
// togglePlayback arguments.
inline constexpr int kPlayOnce = 0;  // automatic play after a render; also ends a once-played sound
inline constexpr int kPlayRepeating = 1;  // the Play and Stop commands
inline constexpr int kStopForRender = 300;

inline constexpr int kStopTries = 52;
inline constexpr int kStopTryMilliseconds = 20;

// "Sound System Failure NN".
std::string soundSystemFailureCaption(int number);

class PlaybackRing {
  public:
    // `options` supplies the device number and the sample rate; it must outlive the ring. The
    // status texts and the failure warnings go to `ui`.
    PlaybackRing(WaveOutPort& device, PlaybackUi& playbackUi, UserInterface& ui,
                 const SoundOptions& options);

    // (Re)allocates `count` buffers of `size` values. False, keeping the old buffers, when the
    // memory cannot be had, the numbers are outside 3..16 and 256..16384, or the device is open
    // (its headers point into the buffers).
    bool allocateBuffers(std::int32_t count, std::int32_t size);

    // Play (1), automatic play after a render (0), or stop before a render (300; false when the
    // device did not let go in time, see stopPlaybackAndWait). Starting a sound that is playing
    // stops it instead, letting the queued buffers play out.
    bool togglePlayback(int argument, const PlaybackSoundView& sound);
    bool startPlayback(const PlaybackSoundView& sound);
    // The device returned buffer `index` (message 957): refill it, or close when all are back.
    void onBufferDone(std::size_t index, const PlaybackSoundView& sound);
    // Resets the device and waits up to 52 x 20 ms for the buffers. True when none is queued.
    bool stopPlaybackAndWait();
    // Closes the device once no buffer is queued; does nothing while playing.
    void closeWaveDevice();

    // The ring keeps the play position and the repeat flag itself; this copies them into the
    // sound record for whoever reads them there.
    void recordState(PlaybackSound& sound) const;

    bool active() const { return active_; }
    bool playing() const { return playing_; }
    bool deviceOpen() const { return deviceOpen_; }
    bool repeat() const { return repeat_; }
    std::int32_t queued() const { return queued_; }
    std::int64_t position() const { return position_; }
    std::int64_t lastReportedPosition() const { return lastReported_; }
    std::int32_t bufferCount() const { return std::int32_t(buffers_.size()); }
    std::int32_t bufferSize() const { return bufferSize_; }

  private:
    struct Buffer {
        std::vector<std::int16_t> values;
        std::int64_t end = 0;  // sound position after this buffer's values
        bool queued = false;
        bool prepared = false;
    };

    void writeBuffer(std::size_t index, const PlaybackSoundView& sound);
    bool prepareBuffers();
    void showState();
    void fail(int number, int code);
    void forgetDevice();
    void closeIfIdle();

    WaveOutPort& device_;
    PlaybackUi& playbackUi_;
    UserInterface& ui_;
    const SoundOptions& options_;
    std::vector<Buffer> buffers_;
    std::int32_t bufferSize_ = 0;
    std::int32_t queued_ = 0;
    std::int64_t position_ = 0;
    std::int64_t lastReported_ = -1;
    bool repeat_ = false;
    bool active_ = false;
    bool playing_ = false;
    bool deviceOpen_ = false;
    std::string message_;  // left by a failed start for the status bar
};

}  // namespace lumetra
