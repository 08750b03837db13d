#pragma once
// Truncating division by a divisor fixed in advance, with a multiply and a shift: for
// 0 <= x < 2^31, floor(x / d) = (x * multiplier) >> shift exactly, where shift = 31 + ceil(log2 d)
// and multiplier = floor(2^shift / d) + 1 (the error x * (multiplier * d - 2^shift) / 2^shift
// stays below x / 2^31 < 1, and divided by d below 1 / d, too little to reach the next whole
// number). The noise counters divide on every segment; the processor's divider is slow and
// there is only one.

#include <cstdint>

namespace lumetra {

struct Divider {
    std::uint64_t multiplier = 0;  // 0: divide the slow way
    int shift = 0;
    std::int64_t divisor = 1;
};

inline Divider makeDivider(std::int64_t divisor) {
    Divider d;
    d.divisor = divisor < 1 ? 1 : divisor;
    if (d.divisor >= (std::int64_t{1} << 31)) return d;
    int bits = 0;
    while ((std::int64_t{1} << bits) < d.divisor)
        ++bits;
    d.shift = 31 + bits;
    d.multiplier = ((std::uint64_t{1} << d.shift) / static_cast<std::uint64_t>(d.divisor)) + 1;
    return d;
}

// n / d truncated toward zero (the / operator), for every n.
inline std::int64_t divide(std::int64_t n, const Divider& d) {
    const auto sign = static_cast<std::uint64_t>(n >> 63);  // 0 or all ones
    const std::uint64_t magnitude = (static_cast<std::uint64_t>(n) ^ sign) - sign;
    if (magnitude >= (std::uint64_t{1} << 31) || d.multiplier == 0) return n / d.divisor;
    const std::uint64_t q = (magnitude * d.multiplier) >> d.shift;
    return static_cast<std::int64_t>((q ^ sign) - sign);
}

}  // namespace lumetra
