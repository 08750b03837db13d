#pragma once
// Little-endian numbers in byte buffers, the byte order of every file format the program reads or
// writes. Readers take a span and an offset the caller has already checked against its size.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lumetra::le {

inline std::uint16_t readU16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
inline std::uint32_t readU32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) |
           (std::uint32_t{b[at + 2]} << 16) | (std::uint32_t{b[at + 3]} << 24);
}
inline std::int32_t readI32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int32_t>(readU32(b, at));
}
inline float readF32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::bit_cast<float>(readU32(b, at));
}

inline void writeU16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void writeU32(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void writeI32(std::span<std::uint8_t> b, std::size_t at, std::int32_t v) {
    writeU32(b, at, static_cast<std::uint32_t>(v));
}
inline void writeF32(std::span<std::uint8_t> b, std::size_t at, float v) {
    writeU32(b, at, std::bit_cast<std::uint32_t>(v));
}

}  // namespace lumetra::le
