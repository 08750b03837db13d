#include <algorithm>
#include <cmath>

#include "base/little_endian.h"
#include "render/render_info.h"

namespace lumetra {
namespace {

// Field offsets of the byte form.
constexpr std::size_t kMagic = 0, kSize = 4, kVersion = 8, kValid = 12, kCommand = 16, kWidth = 20,
                      kHeight = 24, kLow = 28, kHigh = 32, kAmp = 36, kTime = 40, kRenderTime = 44,
                      kSelection = 48, kFlags = 64, kReserved = 68, kDate = 100, kSourceName = 116,
                      kSourceLength = 148, kSourceNumber = 152, kSourceChannels = 156,
                      kSourceRate = 160;

std::array<std::uint16_t, 8> dateWords(const LocalTime& t) {
    return {t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second, t.milliseconds};
}

LocalTime dateFromWords(const std::array<std::uint16_t, 8>& w) {
    return LocalTime{w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]};
}

}  // namespace

bool hasUsableRenderNumbers(const RenderInfoRecord& r) {
    const float numbers[] = {r.lowFrequency, r.highFrequency, r.ampFactor, r.outputTime};
    for (float v : numbers)
        if (!std::isfinite(v)) return false;
    return r.lowFrequency > 0 && r.highFrequency > r.lowFrequency && r.ampFactor > 0 &&
           r.outputTime > 0;
}

RenderInfoBytes encodeRenderInfo(const RenderInfoRecord& r) {
    RenderInfoBytes bytes{};
    std::span<std::uint8_t> b(bytes);
    std::copy(r.magic.begin(), r.magic.end(), bytes.begin() + kMagic);
    le::writeU32(b, kSize, r.size);
    le::writeU32(b, kVersion, r.version);
    le::writeU32(b, kValid, r.valid);
    le::writeI32(b, kCommand, r.command);
    le::writeI32(b, kWidth, r.width);
    le::writeI32(b, kHeight, r.height);
    le::writeF32(b, kLow, r.lowFrequency);
    le::writeF32(b, kHigh, r.highFrequency);
    le::writeF32(b, kAmp, r.ampFactor);
    le::writeF32(b, kTime, r.outputTime);
    le::writeF32(b, kRenderTime, r.renderTime);
    for (std::size_t i = 0; i < 4; ++i)
        le::writeI32(b, kSelection + 4 * i, r.selection[i]);
    le::writeU32(b, kFlags, r.flags);
    std::copy(r.reserved.begin(), r.reserved.end(), bytes.begin() + kReserved);
    const auto words = dateWords(r.date);
    for (std::size_t i = 0; i < words.size(); ++i)
        le::writeU16(b, kDate + 2 * i, words[i]);
    std::copy(r.sourceName.begin(), r.sourceName.end(), bytes.begin() + kSourceName);
    le::writeF32(b, kSourceLength, r.sourceLength);
    le::writeU32(b, kSourceNumber, r.sourceNumber);
    le::writeU32(b, kSourceChannels, r.sourceChannels);
    le::writeU32(b, kSourceRate, r.sourceSampleRate);
    return bytes;
}

RenderInfoRecord decodeRenderInfo(std::span<const std::uint8_t> bytes) {
    RenderInfoBytes full{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), full.size()), full.begin());
    std::span<const std::uint8_t> b(full);
    RenderInfoRecord r;
    std::copy_n(full.begin() + kMagic, 4, r.magic.begin());
    r.size = le::readU32(b, kSize);
    r.version = le::readU32(b, kVersion);
    r.valid = le::readU32(b, kValid);
    r.command = le::readI32(b, kCommand);
    r.width = le::readI32(b, kWidth);
    r.height = le::readI32(b, kHeight);
    r.lowFrequency = le::readF32(b, kLow);
    r.highFrequency = le::readF32(b, kHigh);
    r.ampFactor = le::readF32(b, kAmp);
    r.outputTime = le::readF32(b, kTime);
    r.renderTime = le::readF32(b, kRenderTime);
    for (std::size_t i = 0; i < 4; ++i)
        r.selection[i] = le::readI32(b, kSelection + 4 * i);
    r.flags = le::readU32(b, kFlags);
    std::copy_n(full.begin() + kReserved, r.reserved.size(), r.reserved.begin());
    std::array<std::uint16_t, 8> words{};
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = le::readU16(b, kDate + 2 * i);
    r.date = dateFromWords(words);
    std::copy_n(full.begin() + kSourceName, r.sourceName.size(), r.sourceName.begin());
    r.sourceLength = le::readF32(b, kSourceLength);
    r.sourceNumber = le::readU32(b, kSourceNumber);
    r.sourceChannels = le::readU32(b, kSourceChannels);
    r.sourceSampleRate = le::readU32(b, kSourceRate);
    return r;
}

}  // namespace lumetra
