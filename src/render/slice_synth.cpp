#include "render/slice_synth.h"

#include <algorithm>

#include "render/frame_workers.h"
#include "render/render_arith.h"
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
template <bool FixedAmp, bool FixedFm>
void advanceNoiseRow(NoiseState& ns, SeedStream& seed, const SineTable& sine, std::int32_t s,
                     const Divider& bySlice, std::uint32_t increment, std::int32_t* levels,
                     std::int32_t* entries) {
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
    for (std::int32_t k = 0; k < s; ++k) {
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

void advanceNoise(NoiseState& ns, SeedStream& seed, const SineTable& sine, std::int32_t s,
                  const Divider& bySlice, std::uint32_t increment, std::int32_t* levels,
                  std::int32_t* entries) {
    const bool fixedAmp = ns.ampBase / 2 <= 1;
    const bool fixedFm = ns.fmBase / 2 <= 1;  // bases below 2 count as 2
    if (fixedAmp && fixedFm)
        advanceNoiseRow<true, true>(ns, seed, sine, s, bySlice, increment, levels, entries);
    else if (fixedAmp)
        advanceNoiseRow<true, false>(ns, seed, sine, s, bySlice, increment, levels, entries);
    else if (fixedFm)
        advanceNoiseRow<false, true>(ns, seed, sine, s, bySlice, increment, levels, entries);
    else
        advanceNoiseRow<false, false>(ns, seed, sine, s, bySlice, increment, levels, entries);
}

}  // namespace

SliceSynth::SliceSynth(const SliceSetup& setup)
    : setup_(setup),
      s_(setup.samplesPerPixel),
      padded_(synth::paddedFrames(s_)),
      bySlice_(makeDivider(setup.samplesPerPixel)),
      seeds_(*setup.seed) {
    const std::size_t padded = static_cast<std::size_t>(padded_);
    left_.assign(padded, 0.0f);
    if (setup_.stereo) right_.assign(padded, 0.0f);
    rows_.reserve(static_cast<std::size_t>(setup_.rows));

    // Soft sweeps sum their loudness frame by frame from the start of the slice, so the slice is
    // then one chunk; straight glides are cut into chunks of whole vectors for the helpers.
    const int threads = setup_.workers && !setup_.softWeights ? setup_.workers->threads() : 1;
    // About 16 chunks: the caller's wait for a helper's last chunk stays short.
    chunkFrames_ = threads > 1 ? std::max(synth::paddedFrames((padded_ + 15) / 16), 64) : padded_;
    const bool noise = setup_.stereo && setup_.withBlue;
    scratch_.resize(static_cast<std::size_t>(threads));
    for (Scratch& scratch : scratch_) {
        if (setup_.softWeights) {
            scratch.red.assign(padded, 0.0);
            scratch.green.assign(padded, 0.0);
            scratch.blue.assign(padded, 0.0);
        }
        if (noise) {
        }
    }
}

synth::Amplitude SliceSynth::amplitude(Loudness loudness, std::int32_t first, std::int32_t count,
                                       std::vector<double>& ramp) const {
    synth::Amplitude a;
    a.slope = loudness.end - loudness.start;
    a.start = static_cast<double>(loudness.start) * s_ + first * a.slope;
    if (!setup_.softWeights) return a;
    // Soft sweeps: rounded frame by frame, so summed in order from the start of the slice.
    const float* w = setup_.softWeights;
    double value = static_cast<double>(loudness.start) * s_;
    for (std::int32_t k = 0; k < first + count && k < s_; ++k) {
        ramp[k] = value;
        value += a.slope * w[k];
    }
    a.ramp = ramp.data() + first;
    return a;
}

void SliceSynth::addRow(const RowPixels& px, std::uint32_t& phase, std::uint32_t increment,
                        NoiseState& noise) {
    Row row;
    row.phase = phase;
    row.increment = increment;
    if (setup_.stereo) {
        row.red = {px.red0, px.red1};
        row.green = {px.green0, px.green1};
        row.blue = {px.blue0, px.blue1};
    } else {
        row.red = {px.red0 + px.green0, px.red1 + px.green1};
    }
    if (setup_.stereo && setup_.withBlue && (px.blue0 != 0 || px.blue1 != 0)) {
        row.noisy = true;
        row.phaseOut = &phase;
        collectNoisyRow(row, noise);
        noisyRows_.push_back(static_cast<std::int32_t>(rows_.size()));
    } else {
        phase = (phase + static_cast<std::uint32_t>(s_) * increment) & kPhaseMask;
        // The wobble speed glides on every sounding frame of a stereo row, noisy or not.
        if (setup_.stereo)
            noise.modInc = static_cast<std::int32_t>(
                static_cast<std::uint32_t>(noise.modInc) +
                static_cast<std::uint32_t>(s_) * static_cast<std::uint32_t>(noise.modSlope));
    }
    rows_.push_back(row);
}

void SliceSynth::collectNoisyRow(Row& row, NoiseState& noise) {
    row.slot = static_cast<std::int32_t>(noisyRows_.size());
    const std::size_t at = static_cast<std::size_t>(row.slot) * padded_;
    if (at + padded_ > noisyLevels_.size()) {
        const std::size_t size = at + static_cast<std::size_t>(16) * padded_;
        noisyEntries_.resize(size, 0);
        noisyLevels_.resize(size, 0);
        noisyPacked_.resize(size, 0);
        noisyPhases_.resize(size, 0u);
    }
    advanceNoise(noise, seeds_, *setup_.sine, s_, bySlice_, row.increment, noisyLevels_.data() + at,
                 noisyEntries_.data() + at);
    row.modDepth = noise.modDepth;
    row.levelDivisor = static_cast<double>(std::int64_t{noise.ampDivisor} * s_);
}

// The phase chain of one noisy row (any thread).
void SliceSynth::chainNoisyRow(const Row& row, Scratch& scratch) {
    const std::size_t at = static_cast<std::size_t>(row.slot) * padded_;
    synth::PhaseChainJob job;
    job.entries = noisyEntries_.data() + at;
    job.frames = s_;
    job.blue = amplitude(row.blue, 0, s_, scratch.blue);
    job.modDepth = row.modDepth;
    job.phase = row.phase;
    job.increment = row.increment;
    job.sinePairs = setup_.sine->pairs.data();
    job.phases = noisyPhases_.data() + at;
    job.packed = noisyPacked_.data() + at;
    *row.phaseOut = setup_.kernels->phaseChain(job);
}

void SliceSynth::addChunk(std::int32_t first, std::int32_t count, Scratch& scratch) {
    float* left = left_.data() + first;
    float* right = setup_.stereo ? right_.data() + first : nullptr;
    for (const Row& row : rows_) {
        if (row.noisy) {
            const std::size_t at = static_cast<std::size_t>(row.slot) * padded_ + first;
            synth::NoiseToneJob job;
            job.left = left;
            job.right = right;
            job.frames = count;
            job.phases = noisyPhases_.data() + at;
            job.packed = noisyPacked_.data() + at;
            job.levels = noisyLevels_.data() + at;
            job.red = amplitude(row.red, first, count, scratch.red);
            job.green = amplitude(row.green, first, count, scratch.green);
            job.blue = amplitude(row.blue, first, count, scratch.blue);
            job.d0 = setup_.d0;
            job.levelDivisor = row.levelDivisor;
            setup_.kernels->noiseTone(job);
            continue;
        }
        synth::ToneJob job;
        job.left = left;
        job.right = right;
        job.frames = count;
        job.phase = row.phase + static_cast<std::uint32_t>(first) * row.increment;
        job.increment = row.increment;
        job.sinePairs = setup_.sine->pairs.data();
        job.red = amplitude(row.red, first, count, scratch.red);
        if (setup_.stereo) {
            job.green = amplitude(row.green, first, count, scratch.green);
            job.divisor = setup_.d0;
            setup_.kernels->toneStereo(job);
        } else {
            job.inverse = 1 / setup_.d0;
            setup_.kernels->toneMono(job);
        }
    }
}

void SliceSynth::finish(std::int16_t* out) {
    const bool helped = setup_.workers && scratch_.size() > 1 && setup_.workers->helping();
    if (!noisyRows_.empty()) {
        const auto count = static_cast<int>(noisyRows_.size());
        auto chain = [&](int i, int thread) {
            chainNoisyRow(rows_[static_cast<std::size_t>(noisyRows_[static_cast<std::size_t>(i)])],
                          scratch_[static_cast<std::size_t>(thread)]);
        };
        if (helped) {
            setup_.workers->run(count, chain);
        } else {
            for (int i = 0; i < count; ++i)
                chain(i, 0);
        }
    }
    if (!rows_.empty()) {
        const std::int32_t chunks = (padded_ + chunkFrames_ - 1) / chunkFrames_;
        auto task = [&](int chunk, int thread) {
            const std::int32_t first = chunk * chunkFrames_;
            const std::int32_t count =
                first + chunkFrames_ > padded_ ? padded_ - first : chunkFrames_;
            addChunk(first, count, scratch_[static_cast<std::size_t>(thread)]);
        };
        if (helped) {
            setup_.workers->run(chunks, task);
        } else {
            for (int chunk = 0; chunk < chunks; ++chunk)
                task(chunk, 0);
        }
    }
    seeds_.commit();
    rows_.clear();
    noisyRows_.clear();
    if (setup_.stereo)
        setup_.kernels->convertStereo(left_.data(), right_.data(), out, s_);
    else
        setup_.kernels->convertMono(left_.data(), out, s_);
}

}  // namespace lumetra
