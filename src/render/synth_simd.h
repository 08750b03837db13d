#pragma once
// The vector loops of synth_kernels.h written once for any vector width. Each instruction-set
// unit (synth_sse2.cpp, synth_avx2.cpp, synth_avx512.cpp) defines an instruction-set struct V and
// includes this file inside its own anonymous namespace, so that nothing compiled for a wider
// instruction set can be shared with code that runs without it. For the same reason this file uses
// no std templates.
//
// V provides: kWidth frames per float vector, kHalf doubles per double vector (kWidth = 2 kHalf),
// the types VI/VF/VD, VM for the lanes of a comparison, and the operations used below.

// Sine values: t[i] + ((t[i+1] - t[i]) * f) div 32768, truncating toward zero, with f the low 15
// bits of the phase. The table word holds t[i + 1] - t[i] in its low and t[i] in its high half, so
// a 16-bit multiply-add of that word with f (high half 0) is exactly (t[i+1] - t[i]) * f.
template <class V>
inline typename V::VI sineValues(typename V::VI packed, typename V::VI phases) {
    using VI = typename V::VI;
    const VI fractionMask = V::setI(0x7FFF);
    const VI product = V::madd(packed, V::andI(phases, fractionMask));
    const VI towardZero = V::andI(V::template srai<31>(product), fractionMask);
    const VI step = V::template srai<15>(V::addI(product, towardZero));
    return V::addI(V::template srai<16>(packed), step);
}

// Loudness of the frames of one vector as two double vectors: from a ramp array, or (straight
// glides) start + k * slope, carried from vector to vector. All are whole numbers below 2^53, so
// the sums are exact, like the frame-by-frame sums they stand for.
template <class V, bool Ramp>
struct Loudness {
    typename V::VD lo, hi, step;
    const double* ramp;

    explicit Loudness(const lumetra::synth::Amplitude& a) : ramp(a.ramp) {
        if constexpr (!Ramp) {
            const typename V::VD slope = V::setD(a.slope);
            lo = V::addD(V::setD(a.start), V::mulD(V::rampD(), slope));
            hi = V::addD(lo, V::setD(V::kHalf * a.slope));
            step = V::setD(V::kWidth * a.slope);
        }
    }
    // The loudness of frames k .. k + kWidth - 1; call once per vector, in order.
    void next(std::int32_t k, typename V::VD& outLo, typename V::VD& outHi) {
        if constexpr (Ramp) {
            outLo = V::loadD(ramp + k);
            outHi = V::loadD(ramp + k + V::kHalf);
        } else {
            outLo = lo;
            outHi = hi;
            lo = V::addD(lo, step);
            hi = V::addD(hi, step);
        }
    }
};

// acc = float(double(acc) + double(x) * a), frame by frame, with x as two double vectors.
// The halves are loaded and stored apart: splitting and joining a float vector in registers
// takes the execution port the conversions need, which bounds the loop.
template <class V>
inline void accumulate(float* acc, typename V::VD xLo, typename V::VD xHi, typename V::VD aLo,
                       typename V::VD aHi) {
    const typename V::VD lo = V::addD(V::loadHalfD(acc), V::mulD(xLo, aLo));
    const typename V::VD hi = V::addD(V::loadHalfD(acc + V::kHalf), V::mulD(xHi, aHi));
    V::storeHalfF(acc, lo);
    V::storeHalfF(acc + V::kHalf, hi);
}

// x = float(v) / D of the stereo tone rows, as two double vectors. With a reciprocal r = 1 / D
// (ToneJob) and fused multiply-adds, q = v * r corrected by the exact remainder v - q * D, which
// the render has found equal to the quotient for every value v can take: the division is the
// slowest step of the loop. Instruction sets without fused multiply-adds divide.
template <class V, bool Multiply>
inline void toneValues(typename V::VI v, typename V::VF divisor, typename V::VF reciprocal,
                       typename V::VD& xLo, typename V::VD& xHi) {
    const typename V::VF value = V::cvtIF(v);
    typename V::VF x;
    if constexpr (Multiply && V::kFused) {
        const typename V::VF q = V::mulF(value, reciprocal);
        x = V::fmaddF(V::fnmaddF(q, divisor, value), reciprocal, q);
    } else {
        (void)reciprocal;
        x = V::divF(value, divisor);
    }
    xLo = V::loD(x);
    xHi = V::hiD(x);
}

// The table words of the frames of one vector are looked up one vector ahead of their use: four
// phases step side by side (plain locals, so that they stay in registers), and the words go to
// one half of a two-vector ring while the other half is used.
template <class V>
inline void lookUpWords(const std::int32_t* pairs, std::uint32_t (&p)[4], std::uint32_t step,
                        std::int32_t* ring) {
    std::int32_t* const out = ring;
    for (int j = 0; j < V::kWidth; j += 4) {
        out[j] = pairs[(p[0] >> 15) & 0x1FFF];
        out[j + 1] = pairs[(p[1] >> 15) & 0x1FFF];
        out[j + 2] = pairs[(p[2] >> 15) & 0x1FFF];
        out[j + 3] = pairs[(p[3] >> 15) & 0x1FFF];
        p[0] += step;
        p[1] += step;
        p[2] += step;
        p[3] += step;
    }
}

template <class V>
inline typename V::VI startPhases(std::uint32_t phase, std::uint32_t increment) {
    alignas(64) std::uint32_t start[16];
    for (int j = 0; j < V::kWidth; ++j)
        start[j] = phase + static_cast<std::uint32_t>(j) * increment;
    return V::loadI(start);
}

// r = 1 / divisor when the fused correction of toneValues gives the bits of v / divisor for every
// v of 16 bits (the sine values), else 0; always 0 without fused multiply-adds. Checked with the
// very instructions the loops use: a library's scalar fma need not round as they do.
template <class V>
float exactReciprocal(float divisor) {
    if constexpr (!V::kFused) {
        (void)divisor;
        return 0.0f;
    } else {
        using VF = typename V::VF;
        const float reciprocal = 1.0f / divisor;
        if (!(reciprocal - reciprocal == 0.0f) || reciprocal == 0.0f) return 0.0f;  // inf, NaN
        const VF d = V::setF(divisor);
        const VF r = V::setF(reciprocal);
        typename V::VI v = startPhases<V>(static_cast<std::uint32_t>(-32768), 1);
        const typename V::VI step = V::setI(V::kWidth);
        for (std::int32_t first = -32768; first < 32768; first += V::kWidth) {
            const VF value = V::cvtIF(v);
            const VF q = V::mulF(value, r);
            const VF corrected = V::fmaddF(V::fnmaddF(q, d, value), r, q);
            if (!V::sameBits(V::divF(value, d), corrected)) return 0.0f;
            v = V::addI(v, step);
        }
        return reciprocal;
    }
}

// toneStereo and toneMono repeat their look-up set-up on purpose: with the lookup phases and the
// ring moved into a shared struct, the compiler kept them in memory and the large renders took
// half as long again.
template <class V, bool Ramp, bool Multiply>
void toneStereo(const lumetra::synth::ToneJob& job) {
    using VI = typename V::VI;
    using VD = typename V::VD;
    // Locals: the stores to the accumulators could otherwise alias the job's fields.
    float* const left = job.left;
    float* const right = job.right;
    const std::int32_t frames = job.frames;
    const std::int32_t* const pairs = job.sinePairs;
    std::uint32_t lookup[4] = {job.phase, job.phase + job.increment, job.phase + 2 * job.increment,
                               job.phase + 3 * job.increment};
    const std::uint32_t lookupStep = 4 * job.increment;
    alignas(64) std::int32_t ring[2 * V::kWidth];
    lookUpWords<V>(pairs, lookup, lookupStep, ring);
    VI phase = startPhases<V>(job.phase, job.increment);
    const VI step = V::setI(static_cast<std::int32_t>(job.increment * V::kWidth));
    const typename V::VF divisor = V::setF(job.divisor);
    const typename V::VF reciprocal = V::setF(job.reciprocal);
    Loudness<V, Ramp> red(job.red), green(job.green);
    for (std::int32_t k = 0, half = 0; k < frames; k += V::kWidth, half ^= V::kWidth) {
        VI words;
        if constexpr (V::kGather) {
            words = V::gatherWords(pairs, phase);
        } else {
            words = V::loadI(ring + half);
            lookUpWords<V>(pairs, lookup, lookupStep, ring + (half ^ V::kWidth));
        }
        const VI v = sineValues<V>(words, phase);
        VD xLo, xHi;
        toneValues<V, Multiply>(v, divisor, reciprocal, xLo, xHi);
        VD lo, hi;
        red.next(k, lo, hi);
        accumulate<V>(left + k, xLo, xHi, lo, hi);
        green.next(k, lo, hi);
        accumulate<V>(right + k, xLo, xHi, lo, hi);
        phase = V::addI(phase, step);
    }
}

template <class V, bool Ramp>
void toneMono(const lumetra::synth::ToneJob& job) {
    using VI = typename V::VI;
    using VD = typename V::VD;
    float* const mono = job.left;
    const std::int32_t frames = job.frames;
    const std::int32_t* const pairs = job.sinePairs;
    std::uint32_t lookup[4] = {job.phase, job.phase + job.increment, job.phase + 2 * job.increment,
                               job.phase + 3 * job.increment};
    const std::uint32_t lookupStep = 4 * job.increment;
    alignas(64) std::int32_t ring[2 * V::kWidth];
    lookUpWords<V>(pairs, lookup, lookupStep, ring);
    VI phase = startPhases<V>(job.phase, job.increment);
    const VI step = V::setI(static_cast<std::int32_t>(job.increment * V::kWidth));
    const typename V::VF inverse = V::setF(job.inverse);
    Loudness<V, Ramp> sum(job.red);
    for (std::int32_t k = 0, half = 0; k < frames; k += V::kWidth, half ^= V::kWidth) {
        const VI words = V::loadI(ring + half);
        lookUpWords<V>(pairs, lookup, lookupStep, ring + (half ^ V::kWidth));
        const VI v = sineValues<V>(words, phase);
        const typename V::VF x = V::mulF(V::cvtIF(v), inverse);
        VD lo, hi;
        sum.next(k, lo, hi);
        accumulate<V>(mono + k, V::loD(x), V::hiD(x), lo, hi);
        phase = V::addI(phase, step);
    }
}

// Codes of the displacement g for the phase chain: floor(g), and 0 when g is a whole number, 1
// when its fraction lies in [2^-16, 1 - 2^-16] and |g| < 2^30, else 2. With |p| < 2^28 the sum
// g + p then has a rounding error far below 2^-16, so trunc(g + p) is floor(g) + p (plus one
// when that is negative and g has a fraction).
template <class V>
inline void storeFloorsAndCodes(typename V::VD g, std::int32_t* floors, std::int32_t* codes) {
    using VD = typename V::VD;
    using VM = typename V::VM;
    const VD whole = V::floorD(g);
    const VD fraction = V::subD(g, whole);
    const VM inRange = V::cmpltD(V::absD(g), V::setD(1073741824.0));
    const VM isWhole = V::andM(inRange, V::cmpeqD(g, whole));
    const VM inside = V::andM(inRange, V::andM(V::cmpgeD(fraction, V::setD(1.0 / 65536)),
                                               V::cmpleD(fraction, V::setD(1.0 - 1.0 / 65536))));
    VD code = V::selectD(inside, V::setD(1.0), V::setD(2.0));
    code = V::selectD(isWhole, V::setD(0.0), code);
    V::storeTruncated(floors, whole);
    V::storeTruncated(codes, code);
}

// trunc(x) modulo 2^32 for the rare frames of the phase chain that need floating point: the
// same saturating truncation as everywhere in the renderer (NaN gives 0).
inline std::uint32_t phaseOf(double x) {
    if (!(x == x)) return 0;
    if (x >= 9223372036854775807.0) return 0xFFFFFFFFu;
    if (x <= -9223372036854775808.0) return 0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(x));
}

template <class V, bool Ramp>
std::uint32_t phaseChain(const lumetra::synth::PhaseChainJob& job) {
    using VD = typename V::VD;
    constexpr int kW = V::kWidth;
    const typename V::VF depth = V::setF(job.modDepth);
    Loudness<V, Ramp> blue(job.blue);
    alignas(32) double g[2 * kW];
    alignas(32) std::int32_t floors[2 * kW];
    alignas(32) std::int32_t codes[2 * kW];
    const std::int32_t* const entries = job.entries;
    auto displace = [&](std::int32_t k, int half) {
        const typename V::VF q = V::divF(V::cvtIF(V::loadI(entries + k)), depth);
        VD bLo, bHi;
        blue.next(k, bLo, bHi);
        const VD gLo = V::mulD(V::loD(q), bLo);
        const VD gHi = V::mulD(V::hiD(q), bHi);
        V::storeD(g + half, gLo);
        V::storeD(g + half + V::kHalf, gHi);
        storeFloorsAndCodes<V>(gLo, floors + half, codes + half);
        storeFloorsAndCodes<V>(gHi, floors + half + V::kHalf, codes + half + V::kHalf);
    };
    const std::int32_t frames = job.frames;
    const std::uint32_t increment = job.increment;
    const std::int32_t* const pairs = job.sinePairs;
    std::uint32_t* const phases = job.phases;
    std::int32_t* const packed = job.packed;
    std::uint32_t p = job.phase;
    if (frames > 0) displace(0, 0);
    for (std::int32_t k = 0, half = 0; k < frames; k += kW, half ^= kW) {
        // The next vector's displacements are made while this one's chain runs.
        if (k + kW < frames) displace(k + kW, half ^ kW);
        const std::int32_t end = frames - k < kW ? frames - k : kW;
        for (std::int32_t j = 0; j < end; ++j) {
            phases[k + j] = p;
            packed[k + j] = pairs[p >> 15];
            const std::int32_t code = codes[half + j];
            if (code > 1) {
                p = (phaseOf(g[half + j] + p) + increment) & 0x0FFFFFFFu;
                continue;
            }
            std::int64_t t = std::int64_t{p} + floors[half + j];
            if (t < 0) t += code;
            p = (static_cast<std::uint32_t>(t) + increment) & 0x0FFFFFFFu;
        }
    }
    return p;
}

template <class V, bool Ramp>
void noiseTone(const lumetra::synth::NoiseToneJob& job) {
    using VI = typename V::VI;
    using VD = typename V::VD;
    float* const left = job.left;
    float* const right = job.right;
    const std::int32_t* const packed = job.packed;
    const std::uint32_t* const phases = job.phases;
    const std::int32_t* const levels = job.levels;
    const std::int32_t frames = job.frames;
    const VD d0 = V::setD(static_cast<double>(job.d0));
    const VD levelDivisor = V::setD(job.levelDivisor);
    Loudness<V, Ramp> red(job.red), green(job.green), blue(job.blue);
    for (std::int32_t k = 0; k < frames; k += V::kWidth) {
        const VI v = sineValues<V>(V::loadI(packed + k), V::loadI(phases + k));
        const VI level = V::loadI(levels + k);
        VD lo, hi;
        blue.next(k, lo, hi);
        const VD dLo = V::addD(d0, V::divD(V::mulD(V::loIntD(level), lo), levelDivisor));
        const VD dHi = V::addD(d0, V::divD(V::mulD(V::hiIntD(level), hi), levelDivisor));
        const typename V::VF x = V::divF(V::cvtIF(v), V::packF(dLo, dHi));
        const VD xLo = V::loD(x);
        const VD xHi = V::hiD(x);
        red.next(k, lo, hi);
        accumulate<V>(left + k, xLo, xHi, lo, hi);
        green.next(k, lo, hi);
        accumulate<V>(right + k, xLo, xHi, lo, hi);
    }
}

inline std::int16_t clipSample(float a) {
    if (a != a) return 0;
    if (a < -32768.0f) a = -32768.0f;
    if (a > 32767.0f) a = 32767.0f;
    return static_cast<std::int16_t>(static_cast<std::int32_t>(a));
}

// Clipping is done four frames at a time with SSE2 on every path: it is a small part of the work.
inline __m128i clipFour(const float* acc) {
    __m128 x = _mm_loadu_ps(acc);
    x = _mm_and_ps(x, _mm_cmpeq_ps(x, x));  // NaN becomes 0
    x = _mm_max_ps(_mm_min_ps(x, _mm_set1_ps(32767.0f)), _mm_set1_ps(-32768.0f));
    return _mm_cvttps_epi32(x);
}

inline void zeroFrames(float* acc, std::int32_t frames) {
    const std::int32_t block = lumetra::synth::kBlock;
    const std::int32_t padded = (frames + block - 1) / block * block;
    for (std::int32_t k = 0; k < padded; k += 4)
        _mm_storeu_ps(acc + k, _mm_setzero_ps());
}

inline void convertStereo(float* left, float* right, std::int16_t* out, std::int32_t frames) {
    std::int32_t k = 0;
    for (; k + 4 <= frames; k += 4) {
        const __m128i l = clipFour(left + k);
        const __m128i r = clipFour(right + k);
        const __m128i both = _mm_unpacklo_epi16(_mm_packs_epi32(l, l), _mm_packs_epi32(r, r));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * k), both);
    }
    for (; k < frames; ++k) {
        out[2 * k] = clipSample(left[k]);
        out[2 * k + 1] = clipSample(right[k]);
    }
    zeroFrames(left, frames);
    zeroFrames(right, frames);
}

inline void convertMono(float* mono, std::int16_t* out, std::int32_t frames) {
    std::int32_t k = 0;
    for (; k + 4 <= frames; k += 4) {
        const __m128i m = clipFour(mono + k);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + k), _mm_packs_epi32(m, m));
    }
    for (; k < frames; ++k)
        out[k] = clipSample(mono[k]);
    zeroFrames(mono, frames);
}

template <class V>
lumetra::synth::Kernels makeKernels() {
    lumetra::synth::Kernels k{};
    k.toneStereo = [](const lumetra::synth::ToneJob& job) {
        const bool multiply = job.reciprocal != 0.0f && V::kFused;
        if (job.red.ramp)
            multiply ? toneStereo<V, true, true>(job) : toneStereo<V, true, false>(job);
        else
            multiply ? toneStereo<V, false, true>(job) : toneStereo<V, false, false>(job);
    };
    k.toneMono = [](const lumetra::synth::ToneJob& job) {
        if (job.red.ramp)
            toneMono<V, true>(job);
        else
            toneMono<V, false>(job);
    };
    k.phaseChain = [](const lumetra::synth::PhaseChainJob& job) {
        return job.blue.ramp ? phaseChain<V, true>(job) : phaseChain<V, false>(job);
    };
    k.noiseTone = [](const lumetra::synth::NoiseToneJob& job) {
        if (job.blue.ramp)
            noiseTone<V, true>(job);
        else
            noiseTone<V, false>(job);
    };
    k.exactReciprocal = exactReciprocal<V>;
    k.convertStereo = convertStereo;
    k.convertMono = convertMono;
    return k;
}
