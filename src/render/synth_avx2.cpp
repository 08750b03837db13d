// The AVX2 loops: eight frames at a time. Only called after the processor and the system have
// been found to support AVX2.

#include <immintrin.h>

#include <cstdint>

#include "render/synth_kernels.h"

namespace {

struct Avx2 {
    static constexpr int kWidth = 8;
    static constexpr int kHalf = 4;
    using VI = __m256i;
    using VF = __m256;
    using VD = __m256d;
    using VM = VD;  // the lanes of a comparison: all bits set or clear
    static constexpr bool kGather = false;
    static constexpr bool kFused = true;
    static VF fmaddF(VF a, VF b, VF c) { return _mm256_fmadd_ps(a, b, c); }
    static VF fnmaddF(VF a, VF b, VF c) { return _mm256_fnmadd_ps(a, b, c); }

    static VI loadI(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
    static VI setI(std::int32_t x) { return _mm256_set1_epi32(x); }
    static VI addI(VI a, VI b) { return _mm256_add_epi32(a, b); }
    static VI andI(VI a, VI b) { return _mm256_and_si256(a, b); }
    template <int N>
    static VI srli(VI a) {
        return _mm256_srli_epi32(a, N);
    }
    template <int N>
    static VI srai(VI a) {
        return _mm256_srai_epi32(a, N);
    }
    static VI madd(VI a, VI b) { return _mm256_madd_epi16(a, b); }

    static VF loadF(const float* p) { return _mm256_loadu_ps(p); }
    static void storeF(float* p, VF x) { _mm256_storeu_ps(p, x); }
    static VF setF(float x) { return _mm256_set1_ps(x); }
    static VF cvtIF(VI a) { return _mm256_cvtepi32_ps(a); }
    static VF divF(VF a, VF b) { return _mm256_div_ps(a, b); }
    static VF mulF(VF a, VF b) { return _mm256_mul_ps(a, b); }

    static bool sameBits(VF a, VF b) {
        const VI equal = _mm256_cmpeq_epi32(_mm256_castps_si256(a), _mm256_castps_si256(b));
        return _mm256_movemask_epi8(equal) == -1;
    }
    static VD loD(VF x) { return _mm256_cvtps_pd(_mm256_castps256_ps128(x)); }
    static VD hiD(VF x) { return _mm256_cvtps_pd(_mm256_extractf128_ps(x, 1)); }
    static VF packF(VD lo, VD hi) {
        return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm256_cvtpd_ps(lo)),
                                    _mm256_cvtpd_ps(hi), 1);
    }
    static VD loIntD(VI a) { return _mm256_cvtepi32_pd(_mm256_castsi256_si128(a)); }
    static VD hiIntD(VI a) { return _mm256_cvtepi32_pd(_mm256_extracti128_si256(a, 1)); }
    // Four floats of memory as doubles, and four doubles stored as floats.
    static VD loadHalfD(const float* p) { return _mm256_cvtps_pd(_mm_loadu_ps(p)); }
    static void storeHalfF(float* p, VD x) { _mm_storeu_ps(p, _mm256_cvtpd_ps(x)); }
    static VD loadD(const double* p) { return _mm256_loadu_pd(p); }
    static void storeD(double* p, VD x) { _mm256_storeu_pd(p, x); }
    static VD setD(double x) { return _mm256_set1_pd(x); }
    static VD rampD() { return _mm256_set_pd(3.0, 2.0, 1.0, 0.0); }
    static VD addD(VD a, VD b) { return _mm256_add_pd(a, b); }
    static VD subD(VD a, VD b) { return _mm256_sub_pd(a, b); }
    static VD mulD(VD a, VD b) { return _mm256_mul_pd(a, b); }
    static VD divD(VD a, VD b) { return _mm256_div_pd(a, b); }
    static VM andM(VM a, VM b) { return _mm256_and_pd(a, b); }
    static VD absD(VD a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
    static VD cmpltD(VD a, VD b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    static VD cmpleD(VD a, VD b) { return _mm256_cmp_pd(a, b, _CMP_LE_OQ); }
    static VD cmpgeD(VD a, VD b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }
    static VD cmpeqD(VD a, VD b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
    static VD selectD(VD mask, VD yes, VD no) { return _mm256_blendv_pd(no, yes, mask); }
    static VD floorD(VD x) { return _mm256_floor_pd(x); }
    static void storeTruncated(std::int32_t* p, VD x) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_cvttpd_epi32(x));
    }
};

#include "render/synth_simd.h"

}  // namespace

namespace lumetra::synth {

const Kernels& avx2Kernels() {
    static const Kernels kernels = makeKernels<Avx2>();
    return kernels;
}

}  // namespace lumetra::synth
