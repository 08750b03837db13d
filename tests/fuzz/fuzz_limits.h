#pragma once
// The pixel-byte limit the reader targets decode under. The quick targets keep pictures small so
// that they run fast; the "_real" variants (built with LUMETRA_FUZZ_REAL_LIMITS) decode at the
// batch tools' own limits and are run with libFuzzer's -malloc_limit_mb, so that a size check
// that lets a huge picture through shows as a finding instead of passing unseen.

#include <cstdint>

#include "image/pixel_image.h"

namespace lumetra::fuzz {

#ifdef LUMETRA_FUZZ_REAL_LIMITS
inline constexpr std::int64_t kPixelBytes = kMaxPixelBytes;
#else
inline constexpr std::int64_t kPixelBytes = std::int64_t{1} << 20;
#endif

}  // namespace lumetra::fuzz
