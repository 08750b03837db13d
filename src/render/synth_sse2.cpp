// The SSE2 loops: the baseline of every x86-64 processor.

#include <emmintrin.h>

#include <cstdint>

#include "render/synth_kernels.h"

namespace {

struct Sse2 {
    static constexpr int kWidth = 4;
    static constexpr int kHalf = 2;
    using VI = __m128i;
    using VF = __m128;
    using VD = __m128d;
    using VM = VD;  // the lanes of a comparison: all bits set or clear
    static constexpr bool kGather = false;
    static constexpr bool kFused = false;  // no fused multiply-add: the tone rows divide
    static VF fmaddF(VF, VF, VF c) { return c; }
    static VF fnmaddF(VF, VF, VF c) { return c; }

    static VI loadI(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
    static VI setI(std::int32_t x) { return _mm_set1_epi32(x); }
    static VI addI(VI a, VI b) { return _mm_add_epi32(a, b); }
    static VI andI(VI a, VI b) { return _mm_and_si128(a, b); }
    template <int N>
    static VI srli(VI a) {
        return _mm_srli_epi32(a, N);
    }
    template <int N>
    static VI srai(VI a) {
        return _mm_srai_epi32(a, N);
    }
    static VI madd(VI a, VI b) { return _mm_madd_epi16(a, b); }

    static VF loadF(const float* p) { return _mm_loadu_ps(p); }
    static void storeF(float* p, VF x) { _mm_storeu_ps(p, x); }
    static VF setF(float x) { return _mm_set1_ps(x); }
    static VF cvtIF(VI a) { return _mm_cvtepi32_ps(a); }
    static VF divF(VF a, VF b) { return _mm_div_ps(a, b); }
    static VF mulF(VF a, VF b) { return _mm_mul_ps(a, b); }

    static VD loD(VF x) { return _mm_cvtps_pd(x); }
    static VD hiD(VF x) { return _mm_cvtps_pd(_mm_movehl_ps(x, x)); }
    static VF packF(VD lo, VD hi) { return _mm_movelh_ps(_mm_cvtpd_ps(lo), _mm_cvtpd_ps(hi)); }
    static VD loIntD(VI a) { return _mm_cvtepi32_pd(a); }
    static VD hiIntD(VI a) { return _mm_cvtepi32_pd(_mm_shuffle_epi32(a, 0xEE)); }
    // Two floats of memory as doubles, and two doubles stored as floats.
    static VD loadHalfD(const float* p) {
        return _mm_cvtps_pd(_mm_castpd_ps(_mm_load_sd(reinterpret_cast<const double*>(p))));
    }
    static void storeHalfF(float* p, VD x) {
        _mm_store_sd(reinterpret_cast<double*>(p), _mm_castps_pd(_mm_cvtpd_ps(x)));
    }
    static VD loadD(const double* p) { return _mm_loadu_pd(p); }
    static void storeD(double* p, VD x) { _mm_storeu_pd(p, x); }
    static VD setD(double x) { return _mm_set1_pd(x); }
    static VD rampD() { return _mm_set_pd(1.0, 0.0); }
    static VD addD(VD a, VD b) { return _mm_add_pd(a, b); }
    static VD subD(VD a, VD b) { return _mm_sub_pd(a, b); }
    static VD mulD(VD a, VD b) { return _mm_mul_pd(a, b); }
    static VD divD(VD a, VD b) { return _mm_div_pd(a, b); }
    static VM andM(VM a, VM b) { return _mm_and_pd(a, b); }
    static VD absD(VD a) { return _mm_andnot_pd(_mm_set1_pd(-0.0), a); }
    static VD cmpltD(VD a, VD b) { return _mm_cmplt_pd(a, b); }
    static VD cmpleD(VD a, VD b) { return _mm_cmple_pd(a, b); }
    static VD cmpgeD(VD a, VD b) { return _mm_cmpge_pd(a, b); }
    static VD cmpeqD(VD a, VD b) { return _mm_cmpeq_pd(a, b); }
    static VD selectD(VD mask, VD yes, VD no) {
        return _mm_or_pd(_mm_and_pd(mask, yes), _mm_andnot_pd(mask, no));
    }
    // floor for |x| < 2^31 (other values are never used: their code sends them the exact way).
    static VD floorD(VD x) {
        const VD truncated = _mm_cvtepi32_pd(_mm_cvttpd_epi32(x));
        return _mm_sub_pd(truncated, _mm_and_pd(_mm_cmpgt_pd(truncated, x), _mm_set1_pd(1.0)));
    }
    static void storeTruncated(std::int32_t* p, VD x) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_cvttpd_epi32(x));
    }
};

#include "render/synth_simd.h"

}  // namespace

namespace lumetra::synth {

const Kernels& sse2Kernels() {
    static const Kernels kernels = makeKernels<Sse2>();
    return kernels;
}

}  // namespace lumetra::synth
