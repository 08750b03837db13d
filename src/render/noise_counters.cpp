#include "render/noise_counters.h"

#include <algorithm>

#include "base/float_conversion.h"
#include "render/sine_table.h"

namespace lumetra {

namespace {

// x / d for the amplitude level, which is almost never negative.
inline std::int64_t divideLevel(std::int32_t x, const Divider& d) {
    if (x >= 0)
        return static_cast<std::int64_t>((static_cast<std::uint64_t>(x) * d.multiplier) >> d.shift);
    return divide(x, d);
}

inline std::int64_t remainderOf(std::int64_t x, const Divider& d) {
    return x - divide(x, d) * d.divisor;
}

// The counters of the noise step, frame by frame: the amplitude segments (with their draws), the
// level they lead to, the wobble segments (with theirs) and the table entry the wobble oscillator
// reads when it displaces the row's phase. The draws must happen in this order, row after row.
// When a segment base leaves no room for the random part (FixedAmp, FixedFm: base div 2 is 1),
// every segment has the base's length and its division uses a multiplier made once.
// The draws straight from the generator, one at a time: for the few draws of a row's piece,
// where making 256 ahead would cost more than the draws.
struct PlainDraws {
    RandomSeed& seed;
    std::uint32_t next() { return nextRandom(seed); }
};

template <bool FixedAmp, bool FixedFm, class Seeds>
void advanceNoiseRow(NoiseState& ns, Seeds& seed, const SineTable& sine, std::int32_t s,
                     std::int32_t frames, const Divider& bySlice, std::uint32_t increment,
                     std::int32_t* levels, std::int32_t* entries) {
    std::int32_t ampCount = ns.ampCount;
    std::uint32_t ampLevel = static_cast<std::uint32_t>(ns.ampLevel);
    std::int32_t ampStep = ns.ampStep;
    std::int32_t fmCount = ns.fmCount;
    std::int32_t modSlope = ns.modSlope;
    std::uint32_t modPhase = static_cast<std::uint32_t>(ns.modPhase);  // low 28 bits count
    std::uint32_t modInc = static_cast<std::uint32_t>(ns.modInc);
    const float modScale = ns.modScale;
    const std::int64_t ampBase = ns.ampBase;
    const Divider ampHalf = makeDivider(ampBase / 2);
    const Divider ampLength = makeDivider(ampBase);
    // A segment base or an increment below 2 would leave no room for the random part.
    const std::int64_t fmBase = ns.fmBase < 2 ? 2 : ns.fmBase;
    const Divider fmHalf = makeDivider(fmBase / 2);
    const Divider fmLength = makeDivider(fmBase);
    const std::int64_t inc = increment < 2 ? 2 : increment;
    const Divider incHalf = makeDivider(inc / 2);
    for (std::int32_t k = 0; k < frames; ++k) {
        if (ampCount-- <= 0) {
            const auto a = static_cast<std::int32_t>(seed.next());
            const std::int64_t target = seed.next() >> 16;
            const std::int64_t towards =
                (target - divideLevel(static_cast<std::int32_t>(ampLevel), bySlice)) * s;
            if constexpr (FixedAmp) {
                ampCount = static_cast<std::int32_t>(ampBase);
                ampStep = static_cast<std::int32_t>(divide(towards, ampLength));
            } else {
                ampCount = saturateToInt32(remainderOf(a >> 8, ampHalf) + ampBase);
                ampStep = static_cast<std::int32_t>(towards / ampCount);
            }
        }
        ampLevel += static_cast<std::uint32_t>(ampStep);
        levels[k] = static_cast<std::int32_t>(ampLevel);
        if (fmCount-- <= 0) {
            const auto a = static_cast<std::int32_t>(seed.next());
            const auto b = static_cast<std::int32_t>(seed.next());
            const std::int64_t target = remainderOf(b >> 8, incHalf) + inc;
            const std::int32_t speed = truncToInt32(static_cast<float>(target) / modScale);
            const std::int64_t change = std::int64_t{speed} - static_cast<std::int32_t>(modInc);
            if constexpr (FixedFm) {
                fmCount = static_cast<std::int32_t>(fmBase);
                modSlope = saturateToInt32(divide(change, fmLength));
            } else {
                fmCount = saturateToInt32(remainderOf(a >> 8, fmHalf) + fmBase);
                modSlope = saturateToInt32(change / fmCount);
            }
        }
        entries[k] = sine.entries[(modPhase >> 15) & 0x1FFF];
        modPhase += modInc;
        modInc += static_cast<std::uint32_t>(modSlope);
    }
    ns.ampCount = ampCount;
    ns.ampLevel = static_cast<std::int32_t>(ampLevel);
    ns.ampStep = ampStep;
    ns.fmCount = fmCount;
    ns.modSlope = modSlope;
    ns.modPhase = static_cast<std::int32_t>(modPhase & kPhaseMask);
    ns.modInc = static_cast<std::int32_t>(modInc);
}

template <class Seeds>
void advanceNoiseWith(NoiseState& ns, Seeds& seed, const SineTable& sine, std::int32_t s,
                      std::int32_t frames, const Divider& bySlice, std::uint32_t increment,
                      std::int32_t* levels, std::int32_t* entries) {
    const bool fixedAmp = ns.ampBase / 2 <= 1;
    const bool fixedFm = ns.fmBase / 2 <= 1;  // bases below 2 count as 2
    if (fixedAmp && fixedFm)
        advanceNoiseRow<true, true>(ns, seed, sine, s, frames, bySlice, increment, levels, entries);
    else if (fixedAmp)
        advanceNoiseRow<true, false>(ns, seed, sine, s, frames, bySlice, increment, levels,
                                     entries);
    else if (fixedFm)
        advanceNoiseRow<false, true>(ns, seed, sine, s, frames, bySlice, increment, levels,
                                     entries);
    else
        advanceNoiseRow<false, false>(ns, seed, sine, s, frames, bySlice, increment, levels,
                                      entries);
}

}  // namespace

void advanceNoise(NoiseState& ns, SeedStream& seed, const SineTable& sine, std::int32_t s,
                  std::int32_t frames, const Divider& bySlice, std::uint32_t increment,
                  std::int32_t* levels, std::int32_t* entries) {
    advanceNoiseWith(ns, seed, sine, s, frames, bySlice, increment, levels, entries);
}

void advanceNoise(NoiseState& ns, RandomSeed& seed, const SineTable& sine, std::int32_t s,
                  std::int32_t frames, const Divider& bySlice, std::uint32_t increment,
                  std::int32_t* levels, std::int32_t* entries) {
    PlainDraws draws{seed};
    advanceNoiseWith(ns, draws, sine, s, frames, bySlice, increment, levels, entries);
}

void skipNoiseDraws(const NoiseState& ns, RandomSeed& seed, std::int32_t s) {
    // A counter c draws at the frame where it is 0 or below, and after a draw that sets it to n
    // it draws again n + 1 frames later (at once when n <= 0); within a frame the amplitude
    // counter draws before the wobble counter. The lengths depend only on the draws themselves.
    const std::int64_t ampBase = ns.ampBase;
    const bool fixedAmp = ampBase / 2 <= 1;
    const Divider ampHalf = makeDivider(ampBase / 2);
    const std::int64_t fmBase = ns.fmBase < 2 ? 2 : ns.fmBase;
    const bool fixedFm = ns.fmBase / 2 <= 1;
    const Divider fmHalf = makeDivider(fmBase / 2);
    const auto after = [](std::int64_t frame, std::int32_t count) {
        return frame + 1 + std::max<std::int64_t>(count, 0);
    };
    std::int64_t nextAmp = std::max<std::int64_t>(ns.ampCount, 0);
    std::int64_t nextFm = std::max<std::int64_t>(ns.fmCount, 0);
    for (;;) {
        const std::int64_t k = std::min(nextAmp, nextFm);
        if (k >= s) break;
        if (nextAmp == k) {
            const auto a = static_cast<std::int32_t>(nextRandom(seed));
            nextRandom(seed);
            const std::int32_t count =
                fixedAmp ? static_cast<std::int32_t>(ampBase)
                         : saturateToInt32(remainderOf(a >> 8, ampHalf) + ampBase);
            nextAmp = after(k, count);
        }
        if (nextFm == k) {
            const auto a = static_cast<std::int32_t>(nextRandom(seed));
            nextRandom(seed);
            const std::int32_t count = fixedFm
                                           ? static_cast<std::int32_t>(fmBase)
                                           : saturateToInt32(remainderOf(a >> 8, fmHalf) + fmBase);
            nextFm = after(k, count);
        }
    }
}

}  // namespace lumetra
