// The AVX-512 loops: sixteen frames at a time. Only called after the processor and the system
// have been found to support AVX-512 (F, DQ, CD, BW and VL).

// GCC 12's AVX-512 headers start some results from a deliberately undefined vector, which its
// own uninitialised-use warning then flags in every caller.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <immintrin.h>

#include <cstdint>

#include "render/synth_kernels.h"

namespace {

struct Avx512 {
    static constexpr int kWidth = 16;
    static constexpr int kHalf = 8;
    using VI = __m512i;
    using VF = __m512;
    using VD = __m512d;
    using VM = __mmask8;  // the lanes of a comparison
    static constexpr bool kGather = true;
    static constexpr bool kFused = true;
    static VF fmaddF(VF a, VF b, VF c) { return _mm512_fmadd_ps(a, b, c); }
    static VF fnmaddF(VF a, VF b, VF c) { return _mm512_fnmadd_ps(a, b, c); }
    static VI gatherWords(const std::int32_t* pairs, VI phases) {
        const VI index = _mm512_and_si512(_mm512_srli_epi32(phases, 15), _mm512_set1_epi32(0x1FFF));
        return _mm512_i32gather_epi32(index, pairs, 4);
    }

    static VI loadI(const void* p) { return _mm512_loadu_si512(p); }
    static VI setI(std::int32_t x) { return _mm512_set1_epi32(x); }
    static VI addI(VI a, VI b) { return _mm512_add_epi32(a, b); }
    static VI andI(VI a, VI b) { return _mm512_and_si512(a, b); }
    template <int N>
    static VI srli(VI a) {
        return _mm512_srli_epi32(a, N);
    }
    template <int N>
    static VI srai(VI a) {
        return _mm512_srai_epi32(a, N);
    }
    static VI madd(VI a, VI b) { return _mm512_madd_epi16(a, b); }

    static VF loadF(const float* p) { return _mm512_loadu_ps(p); }
    static void storeF(float* p, VF x) { _mm512_storeu_ps(p, x); }
    static VF setF(float x) { return _mm512_set1_ps(x); }
    static VF cvtIF(VI a) { return _mm512_cvtepi32_ps(a); }
    static VF divF(VF a, VF b) { return _mm512_div_ps(a, b); }
    static VF mulF(VF a, VF b) { return _mm512_mul_ps(a, b); }

    static bool sameBits(VF a, VF b) {
        return _mm512_cmpneq_epi32_mask(_mm512_castps_si512(a), _mm512_castps_si512(b)) == 0;
    }
    static VD loD(VF x) { return _mm512_cvtps_pd(_mm512_castps512_ps256(x)); }
    static VD hiD(VF x) {
        return _mm512_cvtps_pd(_mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(x), 1)));
    }
    static VF packF(VD lo, VD hi) {
        const __m512d low = _mm512_castpd256_pd512(_mm256_castps_pd(_mm512_cvtpd_ps(lo)));
        return _mm512_castpd_ps(_mm512_insertf64x4(low, _mm256_castps_pd(_mm512_cvtpd_ps(hi)), 1));
    }
    static VD loIntD(VI a) { return _mm512_cvtepi32_pd(_mm512_castsi512_si256(a)); }
    static VD hiIntD(VI a) { return _mm512_cvtepi32_pd(_mm512_extracti64x4_epi64(a, 1)); }
    // Eight floats of memory as doubles, and eight doubles stored as floats.
    static VD loadHalfD(const float* p) { return _mm512_cvtps_pd(_mm256_loadu_ps(p)); }
    static void storeHalfF(float* p, VD x) { _mm256_storeu_ps(p, _mm512_cvtpd_ps(x)); }
    static VD loadD(const double* p) { return _mm512_loadu_pd(p); }
    static void storeD(double* p, VD x) { _mm512_storeu_pd(p, x); }
    static VD setD(double x) { return _mm512_set1_pd(x); }
    static VD rampD() { return _mm512_set_pd(7.0, 6.0, 5.0, 4.0, 3.0, 2.0, 1.0, 0.0); }
    static VD addD(VD a, VD b) { return _mm512_add_pd(a, b); }
    static VD subD(VD a, VD b) { return _mm512_sub_pd(a, b); }
    static VD mulD(VD a, VD b) { return _mm512_mul_pd(a, b); }
    static VD divD(VD a, VD b) { return _mm512_div_pd(a, b); }
    static VD absD(VD a) { return _mm512_abs_pd(a); }
    static VM andM(VM a, VM b) { return static_cast<VM>(a & b); }
    static VM cmpltD(VD a, VD b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
    static VM cmpleD(VD a, VD b) { return _mm512_cmp_pd_mask(a, b, _CMP_LE_OQ); }
    static VM cmpgeD(VD a, VD b) { return _mm512_cmp_pd_mask(a, b, _CMP_GE_OQ); }
    static VM cmpeqD(VD a, VD b) { return _mm512_cmp_pd_mask(a, b, _CMP_EQ_OQ); }
    static VD selectD(VM mask, VD yes, VD no) { return _mm512_mask_blend_pd(mask, no, yes); }
    static VD floorD(VD x) {
        return _mm512_roundscale_pd(x, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    }
    static void storeTruncated(std::int32_t* p, VD x) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), _mm512_cvttpd_epi32(x));
    }
};

#include "render/synth_simd.h"

}  // namespace

namespace lumetra::synth {

const Kernels& avx512Kernels() {
    static const Kernels kernels = makeKernels<Avx512>();
    return kernels;
}

}  // namespace lumetra::synth
