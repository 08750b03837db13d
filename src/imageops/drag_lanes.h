#pragma once
// Four sampling positions at once (SSE2, the baseline of every x86-64 processor): the wrapped
// indices trunc(x) mod n of drag_wrap.h, exact, for positions below 2^22 in size. Other
// processors, and positions beyond that, take wrapIndex one at a time.

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define LUMETRA_DRAG_LANES 1
#include <emmintrin.h>
#endif

#include "imageops/drag_wrap.h"

namespace lumetra {

// Below this bound truncated positions, picture sides and the products of the quotient
// arithmetic below are whole numbers that single precision holds exactly.
inline constexpr float kLaneBound = 4194304.0f;  // 2^22

// Pictures whose sides the lanes can wrap to and whose byte offsets fit 32 bits.
inline bool lanesFit(std::int32_t width, std::int32_t height, std::size_t stride) {
    return static_cast<float>(width) <= kLaneBound && static_cast<float>(height) <= kLaneBound &&
           static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height) <=
               (std::uint64_t{1} << 32);
}

#if defined(LUMETRA_DRAG_LANES)

// The divisor of one axis: n and its reciprocal as floats.
struct LaneDivisor {
    __m128 n;
    __m128 reciprocal;
    explicit LaneDivisor(std::int32_t size)
        : n(_mm_set1_ps(static_cast<float>(size))),
          reciprocal(_mm_set1_ps(1.0f / static_cast<float>(size))) {}
};

// All four |x| < 2^22 (NaN fails).
inline bool lanesInBound(__m128 x) {
    const __m128 magnitude = _mm_and_ps(x, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)));
    return _mm_movemask_ps(_mm_cmplt_ps(magnitude, _mm_set1_ps(kLaneBound))) == 0xF;
}

// trunc(x) mod n for |x| < 2^22 and n <= 2^22. With t = trunc(x), the estimated quotient
// q = trunc(t * (1/n)) is off from the true one by at most one (its relative error is below
// 2^-23 and |t / n| below 2^22 / n), q * n and t - q * n are whole numbers below 2^24 and so
// exact, and one correction each way brings the remainder into [0, n).
inline __m128i wrapLanes(__m128 x, const LaneDivisor& d) {
    const __m128 t = _mm_cvtepi32_ps(_mm_cvttps_epi32(x));
    const __m128 q = _mm_cvtepi32_ps(_mm_cvttps_epi32(_mm_mul_ps(t, d.reciprocal)));
    __m128 r = _mm_sub_ps(t, _mm_mul_ps(q, d.n));
    r = _mm_add_ps(r, _mm_and_ps(_mm_cmplt_ps(r, _mm_setzero_ps()), d.n));
    r = _mm_sub_ps(r, _mm_and_ps(_mm_cmpge_ps(r, d.n), d.n));
    return _mm_cvttps_epi32(r);
}

// row * stride + 3 * column in each lane, as unsigned 32-bit numbers (SSE2 multiplies only the
// even lanes, so the odd ones are moved down for a second multiply).
inline __m128i laneOffsets(__m128i columns, __m128i rows, __m128i stride) {
    const __m128i even = _mm_mul_epu32(rows, stride);
    const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(rows, 32), stride);
    const __m128i products = _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                                                _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
    return _mm_add_epi32(products, _mm_add_epi32(_mm_add_epi32(columns, columns), columns));
}

// The picture the lanes sample: its sides as divisors and its row stride.
struct LaneGrid {
    LaneDivisor columns;
    LaneDivisor rows;
    __m128i strideLanes;
    std::int32_t width;
    std::int32_t height;
    std::uint32_t stride;
    LaneGrid(std::int32_t w, std::int32_t h, std::size_t rowBytes)
        : columns(w),
          rows(h),
          strideLanes(_mm_set1_epi32(static_cast<std::int32_t>(rowBytes))),
          width(w),
          height(h),
          stride(static_cast<std::uint32_t>(rowBytes)) {}
};

// The byte offsets of the snapshot pixels that four sampling positions (u, v) wrap to.
struct LaneOffsets {
    alignas(16) std::uint32_t bytes[4];
};

// All four in the lanes when they are in bound, else one at a time.
inline void wrapFour(__m128 u, __m128 v, const LaneGrid& grid, LaneOffsets& out) {
    if (lanesInBound(u) && lanesInBound(v)) {
        const __m128i offsets =
            laneOffsets(wrapLanes(u, grid.columns), wrapLanes(v, grid.rows), grid.strideLanes);
        _mm_store_si128(reinterpret_cast<__m128i*>(out.bytes), offsets);
        return;
    }
    alignas(16) float us[4], vs[4];
    _mm_store_ps(us, u);
    _mm_store_ps(vs, v);
    for (int l = 0; l < 4; ++l)
        out.bytes[l] = static_cast<std::uint32_t>(wrapIndex(vs[l], grid.height)) * grid.stride +
                       3 * static_cast<std::uint32_t>(wrapIndex(us[l], grid.width));
}

#endif

}  // namespace lumetra
