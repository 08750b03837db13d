#include "render/win/wave_out_device.h"

#include <cstdio>
#include <cwchar>

#include "base/win/utf16.h"

namespace lumetra::win {
namespace {

UINT deviceId(std::int32_t device) {
    return device == -1 ? WAVE_MAPPER : UINT(device);
}

WAVEFORMATEX waveFormat(const OutputFormat& format) {
    WAVEFORMATEX wave{};
    wave.wFormatTag = format.formatTag;
    wave.nChannels = format.channels;
    wave.nSamplesPerSec = format.sampleRate;
    wave.nAvgBytesPerSec = format.byteRate;
    wave.nBlockAlign = format.blockAlign;
    wave.wBitsPerSample = format.bitsPerSample;
    wave.cbSize = 0;
    return wave;
}

}  // namespace

std::string waveOutErrorText(int code) {
    wchar_t text[MAXERRORLENGTH] = {};
    if (waveOutGetErrorTextW(MMRESULT(code), text, MAXERRORLENGTH) != MMSYSERR_NOERROR) {
        char fallback[48];
        std::snprintf(fallback, sizeof fallback, "Wave output error %d", code);
        return fallback;
    }
    return toUtf8(std::wstring_view(text, wcsnlen(text, MAXERRORLENGTH)));
}

WaveOutDevice::WaveOutDevice(HWND window) : window_(window) {}

WaveOutDevice::~WaveOutDevice() {
    shutDown();
}

void WaveOutDevice::shutDown() noexcept {
    if (!device_) return;
    waveOutReset(device_.get());
    for (auto& b : buffers_) {
        if (!b->prepared) continue;
        b->header.dwBufferLength = b->capacity;
        waveOutUnprepareHeader(device_.get(), &b->header, sizeof(WAVEHDR));
        b->prepared = false;
    }
    device_.reset();
    for (auto& b : buffers_)
        b->prepared = false;
}

WaveOutDevice::Buffer* WaveOutDevice::buffer(std::size_t index) {
    return index < buffers_.size() ? buffers_[index].get() : nullptr;
}

int WaveOutDevice::open(std::int32_t device, const OutputFormat& format) {
    if (device_) return MMSYSERR_ALLOCATED;
    WAVEFORMATEX wave = waveFormat(format);
    HWAVEOUT opened = nullptr;
    const MMRESULT result = waveOutOpen(&opened, deviceId(device), &wave,
                                        reinterpret_cast<DWORD_PTR>(window_), 0, CALLBACK_WINDOW);
    if (result != MMSYSERR_NOERROR) return int(result);
    device_.reset(opened);
    return 0;
}

int WaveOutDevice::prepare(std::size_t index, std::int16_t* data, std::uint32_t capacityBytes) {
    if (!device_) return MMSYSERR_INVALHANDLE;
    while (buffers_.size() <= index)
        buffers_.push_back(std::make_unique<Buffer>());
    Buffer& b = *buffers_[index];
    if (b.prepared) return MMSYSERR_INVALPARAM;  // its old memory may still be with the device
    b.header = WAVEHDR{};
    b.header.lpData = reinterpret_cast<LPSTR>(data);
    b.header.dwBufferLength = capacityBytes;
    b.header.dwUser = DWORD_PTR(index);
    b.capacity = capacityBytes;
    const MMRESULT result = waveOutPrepareHeader(device_.get(), &b.header, sizeof(WAVEHDR));
    if (result != MMSYSERR_NOERROR) return int(result);
    b.prepared = true;
    return 0;
}

int WaveOutDevice::unprepare(std::size_t index) {
    Buffer* b = buffer(index);
    if (!device_) return MMSYSERR_INVALHANDLE;
    if (!b || !b->prepared) return MMSYSERR_INVALPARAM;
    // A write may have shortened the length; unprepare the header as it was prepared.
    if (!(b->header.dwFlags & WHDR_INQUEUE)) b->header.dwBufferLength = b->capacity;
    const MMRESULT result = waveOutUnprepareHeader(device_.get(), &b->header, sizeof(WAVEHDR));
    if (result != MMSYSERR_NOERROR) return int(result);
    b->prepared = false;
    return 0;
}

int WaveOutDevice::write(std::size_t index, std::uint32_t bytes) {
    Buffer* b = buffer(index);
    if (!device_) return MMSYSERR_INVALHANDLE;
    if (!b || !b->prepared || bytes > b->capacity) return MMSYSERR_INVALPARAM;
    if (b->header.dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
    b->header.dwBufferLength = bytes;
    return int(waveOutWrite(device_.get(), &b->header, sizeof(WAVEHDR)));
}

int WaveOutDevice::pause() {
    return device_ ? int(waveOutPause(device_.get())) : int(MMSYSERR_INVALHANDLE);
}

int WaveOutDevice::restart() {
    return device_ ? int(waveOutRestart(device_.get())) : int(MMSYSERR_INVALHANDLE);
}

int WaveOutDevice::reset() {
    return device_ ? int(waveOutReset(device_.get())) : int(MMSYSERR_INVALHANDLE);
}

int WaveOutDevice::close() {
    if (!device_) return MMSYSERR_INVALHANDLE;
    const MMRESULT result = waveOutClose(device_.get());
    if (result == MMSYSERR_NOERROR) {
        device_.release();
        for (auto& b : buffers_)
            b->prepared = false;
        return 0;
    }
    // The caller forgets the device whatever close says (a device that failed to close is given
    // up), so it is let go here all the same: reset, unprepared and closed as far as it goes.
    shutDown();
    return int(result);
}

std::string WaveOutDevice::errorText(int code) {
    return waveOutErrorText(code);
}

std::optional<std::size_t> WaveOutDevice::finishedBuffer(UINT message, WPARAM wParam,
                                                         LPARAM lParam) const {
    if (message != kBufferDoneMessage || !device_) return std::nullopt;
    if (reinterpret_cast<HWAVEOUT>(wParam) != device_.get()) return std::nullopt;
    const auto* header = reinterpret_cast<const WAVEHDR*>(lParam);
    for (std::size_t i = 0; i < buffers_.size(); ++i)
        if (&buffers_[i]->header == header) return i;
    return std::nullopt;
}

std::vector<std::size_t> WaveOutDevice::takeFinishedBuffers() {
    std::vector<std::size_t> indices;
    MSG message;
    while (PeekMessageW(&message, window_, kBufferDoneMessage, kBufferDoneMessage, PM_REMOVE)) {
        if (auto index = finishedBuffer(message.message, message.wParam, message.lParam))
            indices.push_back(*index);
    }
    return indices;
}

std::int32_t WaveOutDevice::deviceCount() {
    return std::int32_t(waveOutGetNumDevs());
}

int WaveOutDevice::capabilities(std::int32_t device, std::string& name) {
    // Some systems (Wine among them) let the mapper answer with no device behind it; a mapper
    // that can play nothing must not hide the "no device" report.
    if (device == -1 && waveOutGetNumDevs() == 0) return MMSYSERR_NODRIVER;
    WAVEOUTCAPSW caps{};
    const MMRESULT result = waveOutGetDevCapsW(deviceId(device), &caps, sizeof caps);
    if (result != MMSYSERR_NOERROR) return int(result);
    name = toUtf8(std::wstring_view(caps.szPname, wcsnlen(caps.szPname, MAXPNAMELEN)));
    return 0;
}

}  // namespace lumetra::win
