#include "render/playback_ring.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "base/text_limits.h"
#include "render/playback_sound.h"

namespace lumetra {
namespace {

// Which call failed, as the warning captions number them.
constexpr int kOpenFailure = 2;
constexpr int kPrepareFailure = 3;
constexpr int kPauseFailure = 4;
constexpr int kRestartFailure = 5;
constexpr int kWriteFailure = 6;
constexpr int kStopResetFailure = 7;
constexpr int kCloseFailure = 8;
constexpr int kResetFailure = 9;
constexpr int kUnprepareFailure = 10;

constexpr std::size_t kMaxErrorText = 400;

bool isBufferSize(std::int32_t size) {
    for (std::int32_t s = 256; s <= 16384; s *= 2)
        if (s == size) return true;
    return false;
}

}  // namespace

std::string soundSystemFailureCaption(int number) {
    char caption[32];
    std::snprintf(caption, sizeof caption, "Sound System Failure %.2d", number);
    return caption;
}

PlaybackSoundView playbackView(const PlaybackSound& sound) {
    return PlaybackSoundView{sound.samples, sound.valuesPerColumn, sound.format};
}

void PlaybackRing::recordState(PlaybackSound& sound) const {
    sound.position = static_cast<std::size_t>(position_);
    sound.repeat = repeat_ ? 1 : 0;
}

PlaybackRing::PlaybackRing(WaveOutPort& device, PlaybackUi& playbackUi, UserInterface& ui,
                           const SoundOptions& options)
    : device_(device), playbackUi_(playbackUi), ui_(ui), options_(options) {}

bool PlaybackRing::allocateBuffers(std::int32_t count, std::int32_t size) {
    if (deviceOpen_ || count < 3 || count > 16 || !isBufferSize(size)) return false;
    try {
        std::vector<Buffer> fresh(static_cast<std::size_t>(count));
        for (Buffer& b : fresh)
            b.values.assign(static_cast<std::size_t>(size), 0);
        buffers_ = std::move(fresh);
    } catch (const std::bad_alloc&) {
        return false;
    }
    bufferSize_ = size;
    queued_ = 0;
    return true;
}

void PlaybackRing::fail(int number, int code) {
    ui_.showWarning(truncateText(device_.errorText(code), kMaxErrorText),
                    soundSystemFailureCaption(number));
}

void PlaybackRing::showState() {
    ui_.setStatusText(0, playing_ ? std::string(kPlayingText) : std::string());
    playbackUi_.showPlayState(playing_);
}

bool PlaybackRing::togglePlayback(int argument, const PlaybackSoundView& sound) {
    if (argument == kStopForRender) {
        playing_ = false;
        playbackUi_.sendPlayPosition(1, -1);
        if (!stopPlaybackAndWait()) return false;
        showState();
        return true;
    }
    if (playing_) {
        // The queued buffers play out and are not refilled; the last one closes the device.
        playing_ = false;
        showState();
        return true;
    }
    playing_ = true;
    if (!active_) position_ = 0;
    active_ = true;
    repeat_ = argument != 0;
    if (!startPlayback(sound)) {
        active_ = false;
        playing_ = false;
        closeIfIdle();
        ui_.setStatusText(0, message_);
        playbackUi_.showPlayState(false);
        return false;
    }
    // A write that failed while the first buffers went out has stopped the ring already: a
    // marker started now would stay on the canvas, since the canvas ignores the reset that
    // follows a start.
    if (playing_) playbackUi_.sendPlayPosition(0, 0);
    closeIfIdle();
    showState();
    return true;
}

// A device that a failure left open with nothing queued would never be closed by a returning
// buffer, and would keep the sound options from being changed.
void PlaybackRing::closeIfIdle() {
    if (!deviceOpen_ || playing_ || queued_ > 0) return;
    lastReported_ = -1;
    closeWaveDevice();
}

bool PlaybackRing::prepareBuffers() {
    for (std::size_t i = 0; i < buffers_.size(); ++i) {
        Buffer& b = buffers_[i];
        if (b.prepared) continue;
        const auto bytes = static_cast<std::uint32_t>(b.values.size() * sizeof(std::int16_t));
        if (const int code = device_.prepare(i, b.values.data(), bytes)) {
            fail(kPrepareFailure, code);
            return false;
        }
        b.prepared = true;
    }
    return true;
}

bool PlaybackRing::startPlayback(const PlaybackSoundView& sound) {
    message_.clear();
    const auto length = static_cast<std::int64_t>(sound.samples.size());
    if (length == 0 || length < sound.valuesPerColumn || buffers_.empty()) {
        message_ = kNoSoundText;
        return false;
    }
    if (!deviceOpen_) {
        if (const int code = device_.open(options_.device, sound.format)) {
            fail(kOpenFailure, code);
            return false;
        }
        deviceOpen_ = true;
    }
    // Headers that a failed start or close left unprepared are prepared again here, so that one
    // device failure does not leave the ring unable to play for the rest of the run.
    if (!prepareBuffers()) {
        playing_ = active_ = false;
        return false;
    }
    if (const int code = device_.pause()) {
        fail(kPauseFailure, code);
        playing_ = active_ = false;
        return false;
    }
    for (std::size_t i = 0; i < buffers_.size(); ++i)
        writeBuffer(i, sound);
    if (const int code = device_.restart()) {
        fail(kRestartFailure, code);
        playing_ = active_ = false;
        return false;
    }
    return true;
}

void PlaybackRing::writeBuffer(std::size_t index, const PlaybackSoundView& sound) {
    if (!playing_ || index >= buffers_.size() || buffers_[index].queued) return;
    Buffer& b = buffers_[index];
    const auto length = static_cast<std::int64_t>(sound.samples.size());
    std::int64_t n = bufferSize_;
    if (position_ + n > length) {
        if (position_ >= length) {
            if (!repeat_) {
                togglePlayback(kPlayOnce, sound);  // playing: this stops it
                return;
            }
            position_ = 0;
            n = std::min(n, length);
        } else {
            n = length - position_;
        }
    }
    if (n <= 0) return;
    std::copy_n(sound.samples.begin() + position_, n, b.values.begin());
    position_ += n;
    b.end = position_;
    if (const int code = device_.write(index, static_cast<std::uint32_t>(n * 2))) {
        playing_ = active_ = false;
        fail(kWriteFailure, code);
        return;
    }
    b.queued = true;
    ++queued_;
}

void PlaybackRing::onBufferDone(std::size_t index, const PlaybackSoundView& sound) {
    // A message for a buffer that is not out (a stray or repeated one) changes nothing.
    if (index >= buffers_.size() || !buffers_[index].queued) return;
    Buffer& b = buffers_[index];
    b.queued = false;
    --queued_;
    if (playing_) {
        const std::int64_t moved = std::llabs(b.end - lastReported_);
        const bool nearLast = lastReported_ >= 0 && moved <= options_.sampleRate / 16 &&
                              moved <= 2 * std::int64_t{sound.valuesPerColumn};
        if (!nearLast) {
            playbackUi_.postPlayPosition(1, b.end + bufferCount() - 1);
            lastReported_ = b.end;
        }
        writeBuffer(index, sound);
        if (!playing_ && queued_ == 0) {
            closeIfIdle();
            playbackUi_.invalidateCanvas();
        }
        return;
    }
    b.end = 0;
    playbackUi_.postPlayPosition(1, -1);
    if (queued_ == 0) {
        lastReported_ = -1;
        closeWaveDevice();
        playbackUi_.invalidateCanvas();
    }
}

bool PlaybackRing::stopPlaybackAndWait() {
    if (!deviceOpen_ || !active_) return true;
    if (!playing_ && queued_ == 0) return true;
    playing_ = false;
    if (const int code = device_.reset()) fail(kStopResetFailure, code);
    ui_.setStatusText(0, std::string(kWaitingText));
    for (int tries = 0; tries < kStopTries && queued_ > 0; ++tries) {
        for (std::size_t index : playbackUi_.takeFinishedBuffers()) {
            if (index < buffers_.size() && buffers_[index].queued) {
                buffers_[index].queued = false;
                --queued_;
            }
        }
        if (queued_ == 0) break;
        playbackUi_.sleep(kStopTryMilliseconds);
    }
    if (queued_ > 0) return false;
    lastReported_ = -1;
    closeWaveDevice();
    return true;
}

// A device that cannot even be reset is given up: the ring starts afresh with a newly opened
// device next time instead of staying "in use" (and the sound options grayed) for good.
void PlaybackRing::forgetDevice() {
    device_.close();
    deviceOpen_ = false;
    playing_ = active_ = false;
    queued_ = 0;
    for (Buffer& b : buffers_) {
        b.queued = false;
        b.prepared = false;
    }
}

void PlaybackRing::closeWaveDevice() {
    if (!deviceOpen_ || playing_) return;
    if (const int code = device_.reset()) {
        fail(kResetFailure, code);
        forgetDevice();
        return;
    }
    if (queued_ > 0) return;  // the last returning buffer closes the device
    for (std::size_t i = 0; i < buffers_.size(); ++i) {
        if (!buffers_[i].prepared) continue;
        if (const int code = device_.unprepare(i)) {
            fail(kUnprepareFailure, code);
            playing_ = active_ = false;
            return;
        }
        buffers_[i].prepared = false;
    }
    if (const int code = device_.close()) fail(kCloseFailure, code);
    deviceOpen_ = false;
    active_ = false;
    repeat_ = false;
    position_ = 0;
}

}  // namespace lumetra
