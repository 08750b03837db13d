// Which vector loops this processor can run.

#include "render/synth_kernels.h"

#if defined(_MSC_VER)
#include <immintrin.h>
#include <intrin.h>
#else
#include <cpuid.h>
#endif

namespace lumetra::synth {

namespace {

// AVX state must be enabled by the system (XCR0 bits 1 and 2, and for AVX-512 also the mask and
// upper register state, bits 5 to 7), not only present in the processor.

// AVX-512 F, DQ, CD, BW and VL (CPUID leaf 7, EBX): what the compilers may use in the AVX-512
// unit when asked for AVX-512 (MSVC's /arch:AVX512 takes all five); every processor with
// AVX-512 so far has them all.
constexpr unsigned kAvx512Bits = (1u << 16) | (1u << 17) | (1u << 28) | (1u << 30) | (1u << 31);

#if defined(_MSC_VER)
bool detectAvx2() {
    int r[4];
    __cpuid(r, 0);
    if (r[0] < 7) return false;
    __cpuid(r, 1);
    const bool osxsave = (r[2] & (1 << 27)) != 0;
    const bool avx = (r[2] & (1 << 28)) != 0;
    const bool fma = (r[2] & (1 << 12)) != 0;
    if (!osxsave || !avx || !fma) return false;
    if ((_xgetbv(0) & 6) != 6) return false;
    __cpuidex(r, 7, 0);
    return (r[1] & (1 << 5)) != 0;
}

bool detectAvx512() {
    int r[4];
    __cpuid(r, 0);
    if (r[0] < 7 || !detectAvx2()) return false;
    if ((_xgetbv(0) & 0xE6) != 0xE6) return false;
    __cpuidex(r, 7, 0);
    return (static_cast<unsigned>(r[1]) & kAvx512Bits) == kAvx512Bits;
}
#else
bool detectAvx2() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    if (!(c & bit_OSXSAVE) || !(c & bit_AVX) || !(c & bit_FMA)) return false;
    unsigned low = 0, high = 0;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    if ((low & 6) != 6) return false;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
    return (b & bit_AVX2) != 0;
}

bool detectAvx512() {
    if (!detectAvx2()) return false;
    unsigned low = 0, high = 0;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    if ((low & 0xE6) != 0xE6) return false;
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
    return (b & kAvx512Bits) == kAvx512Bits;
}
#endif

}  // namespace

bool cpuHasAvx2() {
    static const bool has = detectAvx2();
    return has;
}

bool cpuHasAvx512() {
    static const bool has = detectAvx512();
    return has;
}

}  // namespace lumetra::synth
