#pragma once
// The vector loops of synth_kernels.h written once for any vector width. Each instruction-set
// unit (synth_sse2.cpp, synth_avx2.cpp) defines an instruction-set struct V and includes this file
// inside its own anonymous namespace, so that nothing compiled for a wider instruction set can be
// shared with code that runs without it. For the same reason this file uses no std templates.
//
// V provides: kWidth frames per float vector, kHalf doubles per double vector (kWidth = 2 kHalf),
// the types VI/VF/VD and the operations used below.

// Sine value at masked phases: t[i] + ((t[i+1] - t[i]) * f) div 32768, truncating toward zero.
// The packed table gives t[i + 1] - t[i] in the low and t[i] in the high half of one 32-bit word,
// so a 16-bit multiply-add of that word with f (high half 0) is exactly (t[i+1] - t[i]) * f.
template <class V>
inline typename V::VI sineValues(const std::int32_t* pairs, typename V::VI phases) {
    using VI = typename V::VI;
    const VI fractionMask = V::setI(0x7FFF);
    const VI packed = V::gather(pairs, V::template srli<15>(phases));
    const VI product = V::madd(packed, V::andI(phases, fractionMask));
    const VI towardZero = V::andI(V::template srai<31>(product), fractionMask);
    const VI step = V::template srai<15>(V::addI(product, towardZero));
    return V::addI(V::template srai<16>(packed), step);
}

// Loudness of frames k .. k + kWidth - 1 as two double vectors.
template <class V, bool Ramp>
inline void amplitudes(const lumetra::synth::Amplitude& a, std::int32_t k, typename V::VD& lo,
                       typename V::VD& hi) {
    if constexpr (Ramp) {
        lo = V::loadD(a.ramp + k);
        hi = V::loadD(a.ramp + k + V::kHalf);
    } else {
        // Whole numbers below 2^53: exact, like the frame-by-frame sums they stand for.
        const typename V::VD offsets = V::mulD(V::rampD(), V::setD(a.slope));
        lo = V::addD(V::setD(a.start + k * a.slope), offsets);
        hi = V::addD(V::setD(a.start + (k + V::kHalf) * a.slope), offsets);
    }
}

// acc = float(double(acc) + double(x) * a), frame by frame.
template <class V>
inline void accumulate(float* acc, typename V::VF x, typename V::VD aLo, typename V::VD aHi) {
    const typename V::VF old = V::loadF(acc);
    const typename V::VD lo = V::addD(V::loD(old), V::mulD(V::loD(x), aLo));
    const typename V::VD hi = V::addD(V::hiD(old), V::mulD(V::hiD(x), aHi));
    V::storeF(acc, V::packF(lo, hi));
}

template <class V>
inline typename V::VI startPhases(std::uint32_t phase, std::uint32_t increment) {
    alignas(32) std::uint32_t start[8];
    for (int j = 0; j < V::kWidth; ++j)
        start[j] = phase + static_cast<std::uint32_t>(j) * increment;
    return V::loadI(start);
}

template <class V, bool Ramp>
void toneStereo(const std::int32_t* pairs, const lumetra::synth::ToneJob& job) {
    using VI = typename V::VI;
    using VD = typename V::VD;
    VI phase = startPhases<V>(job.phase, job.increment);
    const VI step = V::setI(static_cast<std::int32_t>(job.increment * V::kWidth));
    const VI mask = V::setI(0x0FFFFFFF);
    const typename V::VF divisor = V::setF(job.divisor);
    for (std::int32_t k = 0; k < job.frames; k += V::kWidth) {
        const VI v = sineValues<V>(pairs, V::andI(phase, mask));
        const typename V::VF x = V::divF(V::cvtIF(v), divisor);
        VD lo, hi;
        amplitudes<V, Ramp>(job.red, k, lo, hi);
        accumulate<V>(job.left + k, x, lo, hi);
        amplitudes<V, Ramp>(job.green, k, lo, hi);
        accumulate<V>(job.right + k, x, lo, hi);
        phase = V::addI(phase, step);
    }
}

template <class V, bool Ramp>
void toneMono(const std::int32_t* pairs, const lumetra::synth::ToneJob& job) {
    using VI = typename V::VI;
    using VD = typename V::VD;
    VI phase = startPhases<V>(job.phase, job.increment);
    const VI step = V::setI(static_cast<std::int32_t>(job.increment * V::kWidth));
    const VI mask = V::setI(0x0FFFFFFF);
    const typename V::VF inverse = V::setF(job.inverse);
    for (std::int32_t k = 0; k < job.frames; k += V::kWidth) {
        const VI v = sineValues<V>(pairs, V::andI(phase, mask));
        const typename V::VF x = V::mulF(V::cvtIF(v), inverse);
        VD lo, hi;
        amplitudes<V, Ramp>(job.red, k, lo, hi);
        accumulate<V>(job.left + k, x, lo, hi);
        phase = V::addI(phase, step);
    }
}

// Codes of the displacement g for the phase chain (see DisplacementJob).
template <class V>
inline void storeFloorsAndCodes(typename V::VD g, std::int32_t* floors, std::int32_t* codes) {
    using VD = typename V::VD;
    const VD whole = V::floorD(g);
    const VD fraction = V::subD(g, whole);
    const VD inRange = V::cmpltD(V::absD(g), V::setD(1073741824.0));
    const VD isWhole = V::andD(inRange, V::cmpeqD(g, whole));
    const VD inside = V::andD(inRange, V::andD(V::cmpgeD(fraction, V::setD(1.0 / 65536)),
                                               V::cmpleD(fraction, V::setD(1.0 - 1.0 / 65536))));
    VD code = V::selectD(inside, V::setD(1.0), V::setD(2.0));
    code = V::selectD(isWhole, V::setD(0.0), code);
    V::storeTruncated(floors, whole);
    V::storeTruncated(codes, code);
}

template <class V, bool Ramp>
void displacement(const std::int32_t* pairs, const lumetra::synth::DisplacementJob& job) {
    using VI = typename V::VI;
    using VD = typename V::VD;
    const typename V::VF depth = V::setF(job.modDepth);
    for (std::int32_t k = 0; k < job.frames; k += V::kWidth) {
        const VI index = V::template srli<15>(V::loadI(job.modPhases + k));
        const VI entry = V::template srai<16>(V::gather(pairs, index));
        const typename V::VF q = V::divF(V::cvtIF(entry), depth);
        VD bLo, bHi;
        amplitudes<V, Ramp>(job.blue, k, bLo, bHi);
        const VD gLo = V::mulD(V::loD(q), bLo);
        const VD gHi = V::mulD(V::hiD(q), bHi);
        V::storeD(job.displacement + k, gLo);
        V::storeD(job.displacement + k + V::kHalf, gHi);
        storeFloorsAndCodes<V>(gLo, job.floors + k, job.codes + k);
        storeFloorsAndCodes<V>(gHi, job.floors + k + V::kHalf, job.codes + k + V::kHalf);
    }
}

template <class V, bool Ramp>
void noiseTone(const std::int32_t* pairs, const lumetra::synth::NoiseToneJob& job) {
    using VI = typename V::VI;
    using VD = typename V::VD;
    const VD d0 = V::setD(static_cast<double>(job.d0));
    const VD levelDivisor = V::setD(job.levelDivisor);
    for (std::int32_t k = 0; k < job.frames; k += V::kWidth) {
        const VI v = sineValues<V>(pairs, V::loadI(job.phases + k));
        const VI level = V::loadI(job.levels + k);
        VD lo, hi;
        amplitudes<V, Ramp>(job.blue, k, lo, hi);
        const VD dLo = V::addD(d0, V::divD(V::mulD(V::loIntD(level), lo), levelDivisor));
        const VD dHi = V::addD(d0, V::divD(V::mulD(V::hiIntD(level), hi), levelDivisor));
        const typename V::VF x = V::divF(V::cvtIF(v), V::packF(dLo, dHi));
        amplitudes<V, Ramp>(job.red, k, lo, hi);
        accumulate<V>(job.left + k, x, lo, hi);
        amplitudes<V, Ramp>(job.green, k, lo, hi);
        accumulate<V>(job.right + k, x, lo, hi);
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
    k.toneStereo = [](const std::int32_t* p, const lumetra::synth::ToneJob& job) {
        if (job.red.ramp)
            toneStereo<V, true>(p, job);
        else
            toneStereo<V, false>(p, job);
    };
    k.toneMono = [](const std::int32_t* p, const lumetra::synth::ToneJob& job) {
        if (job.red.ramp)
            toneMono<V, true>(p, job);
        else
            toneMono<V, false>(p, job);
    };
    k.displacement = [](const std::int32_t* p, const lumetra::synth::DisplacementJob& job) {
        if (job.blue.ramp)
            displacement<V, true>(p, job);
        else
            displacement<V, false>(p, job);
    };
    k.noiseTone = [](const std::int32_t* p, const lumetra::synth::NoiseToneJob& job) {
        if (job.blue.ramp)
            noiseTone<V, true>(p, job);
        else
            noiseTone<V, false>(p, job);
    };
    k.convertStereo = convertStereo;
    k.convertMono = convertMono;
    return k;
}
