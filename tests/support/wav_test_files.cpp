#include "wav_test_files.h"

#include <cstring>
#include <string_view>

namespace lumetra::testing {
namespace {

void put(Bytes& b, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

void tag(Bytes& b, std::string_view t) {
    b.insert(b.end(), t.begin(), t.end());
}

void sample(Bytes& b, float v, const WavLayout& s) {
    if (s.tag == 3 && s.bits == 32) {
        std::uint32_t u;
        std::memcpy(&u, &v, 4);
        put(b, u, 4);
    } else if (s.tag == 3) {
        const double d = v;
        std::uint64_t u;
        std::memcpy(&u, &d, 8);
        put(b, u, 8);
    } else if (s.bits == 8) {
        put(b, std::uint64_t(v * 128 + 128), 1);
    } else {
        const auto scaled = std::int64_t(double(v) * double(std::int64_t{1} << (s.bits - 1)));
        put(b, std::uint64_t(scaled), s.bits / 8);
    }
}

Bytes formatChunk(const WavLayout& s) {
    Bytes b;
    tag(b, "fmt ");
    put(b, s.extensible ? 40 : 16, 4);
    put(b, s.extensible ? 0xFFFE : s.tag, 2);
    put(b, s.channels, 2);
    put(b, std::uint32_t(s.sampleRate), 4);
    const std::uint32_t align = s.channels * s.bits / 8u;
    put(b, align * std::uint32_t(s.sampleRate), 4);
    put(b, align, 2);
    put(b, s.bits, 2);
    if (s.extensible) {
        put(b, 22, 2);
        put(b, s.bits, 2);
        put(b, 3, 4);  // front left, front right
        put(b, s.tag, 2);
        const std::uint8_t tail[14] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
        b.insert(b.end(), tail, tail + 14);
    }
    return b;
}

}  // namespace

Bytes makeWav(const WavLayout& s, std::span<const float> left, std::span<const float> right) {
    Bytes samples;
    for (std::size_t i = 0; i < left.size(); ++i)
        for (int c = 0; c < s.channels; ++c)
            sample(samples, c == 0 ? left[i] : c == 1 ? right[i] : 0.125f, s);
    Bytes data;
    tag(data, "data");
    put(data, s.dataSize.value_or(std::uint32_t(samples.size())), 4);
    data.insert(data.end(), samples.begin(), samples.end());

    Bytes b;
    tag(b, "RIFF");
    put(b, 0, 4);
    tag(b, "WAVE");
    if (s.chunkBeforeFormat) {
        tag(b, "LIST");
        put(b, 3, 4);
        put(b, 0x616263, 3);
        put(b, 0, 1);  // pad byte
    }
    const Bytes format = formatChunk(s);
    if (!s.formatAfterData) b.insert(b.end(), format.begin(), format.end());
    b.insert(b.end(), data.begin(), data.end());
    if (s.formatAfterData) b.insert(b.end(), format.begin(), format.end());
    const auto riff = std::uint32_t(b.size() - 8);
    for (int i = 0; i < 4; ++i)
        b[4 + i] = std::uint8_t(riff >> (8 * i));
    return b;
}

Bytes makeWav(const WavLayout& layout) {
    return makeWav(layout, kWavLeft, kWavRight);
}

}  // namespace lumetra::testing
