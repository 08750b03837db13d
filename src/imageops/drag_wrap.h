#pragma once
// The wrapped pixel index of a sampling position: trunc(x) mod n, in [0, n), defined for every
// float. A position far beyond the int32 range saturates at its limit before it wraps, and NaN
// counts as 0, so that no float reaches an integer conversion it does not fit.

#include <cstdint>

#include "base/float_conversion.h"

namespace lumetra {

// n must be at least 1.
inline std::int32_t wrapIndex(float x, std::int32_t n) {
    const std::int32_t m = truncToInt32(static_cast<double>(x)) % n;
    return m < 0 ? m + n : m;
}

}  // namespace lumetra
