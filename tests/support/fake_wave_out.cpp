#include "fake_wave_out.h"

#include <algorithm>

namespace lumetra::testing {

std::vector<std::size_t> FakePlaybackUi::takeFinishedBuffers() {
    std::vector<std::size_t> taken(pending.begin(), pending.end());
    pending.clear();
    return taken;
}

void FakePlaybackUi::sleep(int milliseconds) {
    sleeps.push_back(milliseconds);
    if (onSleep) onSleep();
}

int FakeWaveOut::capabilities(std::int32_t device, std::string& name) {
    if (capabilityErrors.count(device)) return capabilityErrors[device];
    if (!names.count(device)) return 2;
    name = names[device];
    return 0;
}

int FakeWaveOut::open(std::int32_t device, const OutputFormat& format) {
    if (int code = call("open")) return code;
    isOpen = true;
    openedDevice = device;
    openedFormat = format;
    return 0;
}

int FakeWaveOut::prepare(std::size_t i, std::int16_t* data, std::uint32_t bytes) {
    if (int code = call("prepare")) return code;
    headers[i] = {data, bytes};
    return 0;
}

int FakeWaveOut::unprepare(std::size_t i) {
    if (int code = call("unprepare")) return code;
    headers.erase(i);
    return 0;
}

int FakeWaveOut::write(std::size_t i, std::uint32_t bytes) {
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

int FakeWaveOut::restart() {
    if (int code = call("restart")) return code;
    writtenBeforeRestart = stream.size();
    return 0;
}

int FakeWaveOut::reset() {
    if (int code = call("reset")) return code;
    if (resetReturnsBuffers) {
        completions_.insert(completions_.end(), queue.begin(), queue.end());
        queue.clear();
    }
    return 0;
}

int FakeWaveOut::close() {
    if (int code = call("close")) return code;
    if (!queue.empty()) misuse.push_back("closed with buffers queued");
    if (!headers.empty()) misuse.push_back("closed with prepared headers");
    isOpen = false;
    return 0;
}

std::string FakeWaveOut::errorText(int code) {
    return longErrorTexts ? std::string(500, 'e') : "device error " + std::to_string(code);
}

std::size_t FakeWaveOut::finish(std::size_t k) {
    const std::size_t index = queue.at(k);
    queue.erase(queue.begin() + std::ptrdiff_t(k));
    return index;
}

int FakeWaveOut::count(const std::string& name) const {
    return int(std::count(calls.begin(), calls.end(), name));
}

int FakeWaveOut::call(const std::string& name) {
    const int number = count(name);
    calls.push_back(name);
    auto it = failures.find(name);
    return it != failures.end() && it->second.first == number ? it->second.second : 0;
}

}  // namespace lumetra::testing
