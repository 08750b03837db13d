#pragma once
// The wave-out device and the playback windows for tests. The device keeps what was written,
// returns buffers when told to, notes calls a real device would refuse, answers the device
// questions from its lists and fails a chosen call on demand; the windows record what the ring
// shows, and their queue holds the completion messages that the device posts for returned
// buffers.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "render/playback_ports.h"

namespace lumetra::testing {

using PlayPosition = std::pair<std::int32_t, std::int64_t>;  // wParam, lParam

class FakePlaybackUi final : public PlaybackUi {
  public:
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

    std::vector<PlayPosition> sent;
    std::vector<PlayPosition> posted;
    std::vector<bool> playStates;
    int invalidations = 0;
    std::deque<std::size_t> pending;  // completion messages waiting in the main window's queue
    std::vector<int> sleeps;
    std::function<void()> onSleep;
};

class FakeWaveOut final : public WaveOutPort {
  public:
    // Completion messages of returned buffers go to `completions` (the main window's queue), or
    // nowhere.
    FakeWaveOut() : completions_(unread_) {}
    explicit FakeWaveOut(std::deque<std::size_t>& completions) : completions_(completions) {}

    std::int32_t deviceCount() override { return devices; }
    int capabilities(std::int32_t device, std::string& name) override {
        if (capabilityErrors.count(device)) return capabilityErrors[device];
        if (!names.count(device)) return 2;
        name = names[device];
        return 0;
    }
    int open(std::int32_t device, const OutputFormat& format) override {
        if (int code = call("open")) return code;
        isOpen = true;
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
        if (int code = call("write")) return code;
        if (!headers.count(i)) {
            misuse.push_back("write of unprepared buffer " + std::to_string(i));
            return 0;
        }
        if (bytes > headers[i].second) misuse.push_back("write beyond buffer " + std::to_string(i));
        if (std::count(queue.begin(), queue.end(), i) != 0)
            misuse.push_back("buffer " + std::to_string(i) + " written twice");
        const std::int16_t* data = headers[i].first;
        stream.insert(stream.end(), data, data + bytes / 2);
        writeBytes.push_back(bytes);
        queue.push_back(i);
        return 0;
    }
    int pause() override { return call("pause"); }
    int restart() override {
        if (int code = call("restart")) return code;
        writtenBeforeRestart = stream.size();
        return 0;
    }
    int reset() override {
        if (int code = call("reset")) return code;
        if (resetReturnsBuffers) {
            completions_.insert(completions_.end(), queue.begin(), queue.end());
            queue.clear();
        }
        return 0;
    }
    int close() override {
        if (int code = call("close")) return code;
        if (!queue.empty()) misuse.push_back("closed with buffers queued");
        if (!headers.empty()) misuse.push_back("closed with prepared headers");
        isOpen = false;
        return 0;
    }
    // "device error N", or 500 characters with longErrorTexts.
    std::string errorText(int code) override {
        return longErrorTexts ? std::string(500, 'e') : "device error " + std::to_string(code);
    }

    // The call of that name after `count` earlier ones fails with `code`.
    void failNext(const std::string& name, int code) { failures[name] = {count(name), code}; }
    // The device finishes buffer number `k` of its queue (0 = the oldest).
    std::size_t finish(std::size_t k = 0) {
        const std::size_t index = queue.at(k);
        queue.erase(queue.begin() + std::ptrdiff_t(k));
        return index;
    }
    int count(const std::string& name) const {
        return int(std::count(calls.begin(), calls.end(), name));
    }

    // The devices: their number, names (-1 = the mapper; a missing name fails with 2) and
    // errors of the capability question.
    std::int32_t devices = 0;
    std::map<std::int32_t, std::string> names;
    std::map<std::int32_t, int> capabilityErrors;

    // call -> (0-based number of the call of that name that fails, its error code)
    std::map<std::string, std::pair<int, int>> failures;
    std::vector<std::string> calls;
    std::deque<std::size_t> queue;     // buffers in the device's hands, in play order
    std::vector<std::int16_t> stream;  // every value written, in write order
    std::vector<std::uint32_t> writeBytes;
    std::map<std::size_t, std::pair<std::int16_t*, std::uint32_t>> headers;
    bool isOpen = false;
    bool resetReturnsBuffers = true;
    bool longErrorTexts = false;
    std::int32_t openedDevice = -99;
    OutputFormat openedFormat;
    std::size_t writtenBeforeRestart = 0;
    // Calls a real device would refuse or be harmed by (a write of an unprepared buffer, a close
    // with buffers queued, ...); a test expects none.
    std::vector<std::string> misuse;

  private:
    int call(const std::string& name) {
        const int number = count(name);
        calls.push_back(name);
        auto it = failures.find(name);
        return it != failures.end() && it->second.first == number ? it->second.second : 0;
    }

    std::deque<std::size_t> unread_;
    std::deque<std::size_t>& completions_;
};

}  // namespace lumetra::testing
