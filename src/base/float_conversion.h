#pragma once
// Conversions from floating point to integers that are defined for every input: truncation
// toward zero that saturates at the integer's range and gives 0 for NaN. The render arithmetic
// uses them wherever a value can leave the range (huge pitches, degenerate noise constants), so
// that both synthesis implementations, every compiler and every build agree.

#include <cstdint>
#include <limits>

namespace lumetra {

inline std::int64_t truncToInt64(double x) {
    if (!(x == x)) return 0;
    if (x >= 9223372036854775807.0) return std::numeric_limits<std::int64_t>::max();
    if (x <= -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}

inline std::int32_t saturateToInt32(std::int64_t x) {
    if (x > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (x < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(x);
}

inline std::int32_t truncToInt32(double x) {
    return saturateToInt32(truncToInt64(x));
}

// The low 32 bits of the truncated value: phases are taken modulo 2^32 (and then masked).
inline std::uint32_t truncToPhase(double x) {
    return static_cast<std::uint32_t>(truncToInt64(x));
}

}  // namespace lumetra
