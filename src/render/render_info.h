#pragma once
// The record of how a picture was last rendered. Its 164-byte little-endian form is appended to
// BMP files behind the pixels; encodeRenderInfo/decodeRenderInfo convert between the two.

#include <array>
#include <cstdint>
#include <span>

#include "base/local_time.h"
#include "image/rect.h"
#include "render/render_settings.h"

namespace lumetra {

struct RenderInfoRecord {
    static constexpr std::size_t kBytes = 164;
    static constexpr std::uint32_t kVersion = 101;
    static constexpr std::uint32_t kSizeFromRender = 160;
    static constexpr std::uint32_t kSizeFromInfoFile = 164;
    static constexpr std::uint32_t kFlagDateValid = 8;
    static constexpr std::uint32_t kFlagSourceName = 4;
    static constexpr std::uint32_t kFlagSourceSound = 16;
    static constexpr std::int32_t kAnalysisCommand = 104;

    std::array<char, 4> magic{};  // "rdnr"
    std::uint32_t size = 0;
    std::uint32_t version = 0;
    std::uint32_t valid = 0;
    std::int32_t command = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    float lowFrequency = 0;
    float highFrequency = 0;
    float ampFactor = 0;
    float outputTime = 0;
    float renderTime = 0;
    std::array<std::int32_t, 4> selection{};  // left, top, right, bottom
    std::uint32_t flags = 0;
    std::array<std::uint8_t, 32> reserved{};
    LocalTime date{};
    std::array<char, 32> sourceName{};
    float sourceLength = 0;
    std::uint32_t sourceNumber = 0;
    std::uint32_t sourceChannels = 0;
    std::uint32_t sourceSampleRate = 0;

    bool hasMagic() const { return magic == std::array<char, 4>{'r', 'd', 'n', 'r'}; }
    void setMagic() { magic = {'r', 'd', 'n', 'r'}; }
};

// The 164-byte little-endian form of a record, as appended to BMP files.
using RenderInfoBytes = std::array<std::uint8_t, RenderInfoRecord::kBytes>;
RenderInfoBytes encodeRenderInfo(const RenderInfoRecord& record);
// Reads a record from its byte form. A short buffer (a damaged trailer) reads as if the missing
// bytes were zero; bytes beyond 164 are ignored.
RenderInfoRecord decodeRenderInfo(std::span<const std::uint8_t> bytes);

// True when the record's pitch range, amp factor and time can be rendered: finite numbers with
// 0 < low < high, amp > 0 and time > 0. Only such numbers are ever adopted from a file.
bool hasUsableRenderNumbers(const RenderInfoRecord& record);

// The record of a complete render by `command` of a picture of the given size, settings and
// selection that took `elapsedSeconds`.
RenderInfoRecord makeRenderRecord(std::int32_t width, std::int32_t height,
                                  const RenderSettings& settings, const Rect& selection,
                                  std::int32_t command, double elapsedSeconds,
                                  const LocalTime& now);

}  // namespace lumetra
