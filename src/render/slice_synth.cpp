#include "render/slice_synth.h"

#include "render/render_arith.h"
#include "render/sine_table.h"

namespace lumetra {

namespace {

std::int32_t wrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// The counters of the noise step, frame by frame: the amplitude segments (with their draws), the
// level they lead to, the wobble segments (with theirs) and the wobble oscillator's phase at the
// moment it displaces the row's phase. The draws happen in the same order as always: amplitude
// first, then wobble, frame after frame.
void advanceNoise(NoiseState& ns, RandomSeed& seed, std::int32_t s, std::uint32_t increment,
                  std::int32_t* levels, std::uint32_t* modPhases) {
    std::int32_t ampCount = ns.ampCount;
    std::int32_t ampLevel = ns.ampLevel;
    std::int32_t ampStep = ns.ampStep;
    std::int32_t fmCount = ns.fmCount;
    std::int32_t modSlope = ns.modSlope;
    std::uint32_t modPhase = static_cast<std::uint32_t>(ns.modPhase);
    std::uint32_t modInc = static_cast<std::uint32_t>(ns.modInc);
    const std::int64_t ampBase = ns.ampBase;
    const std::int64_t ampHalf = ampBase / 2;
    // A segment base or an increment below 2 would leave no room for the random part.
    const std::int64_t fmBase = ns.fmBase < 2 ? 2 : ns.fmBase;
    const std::int64_t fmHalf = fmBase / 2;
    const std::int64_t inc = increment < 2 ? 2 : increment;
    const std::int64_t incHalf = inc / 2;
    for (std::int32_t k = 0; k < s; ++k) {
        if (ampCount-- <= 0) {
            const auto a = static_cast<std::int32_t>(nextRandom(seed));
            ampCount = saturateToInt32(std::int64_t{a >> 8} % ampHalf + ampBase);
            const std::int64_t target = nextRandom(seed) >> 16;
            ampStep = static_cast<std::int32_t>((target - ampLevel / s) * s / ampCount);
        }
        ampLevel = wrapAdd(ampLevel, ampStep);
        levels[k] = ampLevel;
        if (fmCount-- <= 0) {
            const auto a = static_cast<std::int32_t>(nextRandom(seed));
            fmCount = saturateToInt32(std::int64_t{a >> 8} % fmHalf + fmBase);
            const auto b = static_cast<std::int32_t>(nextRandom(seed));
            const std::int64_t target = std::int64_t{b >> 8} % incHalf + inc;
            const std::int32_t speed = truncToInt32(static_cast<float>(target) / ns.modScale);
            modSlope = saturateToInt32((std::int64_t{speed} - static_cast<std::int32_t>(modInc)) /
                                       fmCount);
        }
        modPhases[k] = modPhase;
        modPhase = (modPhase + modInc) & kPhaseMask;
        modInc += static_cast<std::uint32_t>(modSlope);
    }
    ns.ampCount = ampCount;
    ns.ampLevel = ampLevel;
    ns.ampStep = ampStep;
    ns.fmCount = fmCount;
    ns.modSlope = modSlope;
    ns.modPhase = static_cast<std::int32_t>(modPhase);
    ns.modInc = static_cast<std::int32_t>(modInc);
}

// The row's phase through the slice: p = trunc(g + p), then the increment, masked. With g split
// into floor and fraction beforehand this is integer work; only frames whose fraction lies too
// close to a whole number (or whose g is out of range) take the floating-point way.
std::uint32_t chainPhases(std::uint32_t p, std::uint32_t increment, std::int32_t s, const double* g,
                          const std::int32_t* floors, const std::int32_t* codes,
                          std::uint32_t* phases) {
    for (std::int32_t k = 0; k < s; ++k) {
        phases[k] = p;
        const std::int32_t code = codes[k];
        if (code > 1) {
            p = (truncToPhase(g[k] + p) + increment) & kPhaseMask;
            continue;
        }
        // trunc(g + p) is floor(g) + p, or one more when that is negative and g has a fraction.
        std::int64_t t = std::int64_t{p} + floors[k];
        t += t < 0 ? code : 0;
        p = (static_cast<std::uint32_t>(t) + increment) & kPhaseMask;
    }
    return p;
}

}  // namespace

SliceSynth::SliceSynth(const SliceSetup& setup) : setup_(setup), s_(setup.samplesPerPixel) {
    const std::size_t padded = static_cast<std::size_t>(synth::paddedFrames(s_));
    left_.assign(padded, 0.0f);
    if (setup_.stereo) right_.assign(padded, 0.0f);
    if (setup_.softWeights) {
        rampRed_.assign(padded, 0.0);
        rampGreen_.assign(padded, 0.0);
    }
    if (setup_.stereo && setup_.withBlue) {
        if (setup_.softWeights) rampBlue_.assign(padded, 0.0);
        levels_.assign(padded, 0);
        modPhases_.assign(padded, 0u);
        displacement_.assign(padded, 0.0);
        floors_.assign(padded, 0);
        codes_.assign(padded, 0);
        phases_.assign(padded, 0u);
    }
}

synth::Amplitude SliceSynth::amplitude(std::int32_t start, std::int32_t end, Buffer<double>& ramp) {
    synth::Amplitude a;
    a.start = static_cast<double>(start) * s_;
    a.slope = end - start;
    if (!setup_.softWeights) return a;
    // Soft sweeps: the sums are rounded frame by frame, so they are made in order here.
    const float* w = setup_.softWeights;
    double value = a.start;
    for (std::int32_t k = 0; k < s_; ++k) {
        ramp[k] = value;
        value += a.slope * w[k];
    }
    a.ramp = ramp.data();
    return a;
}

void SliceSynth::addRow(const RowPixels& px, std::uint32_t& phase, std::uint32_t increment,
                        NoiseState& noise) {
    if (setup_.stereo && setup_.withBlue && (px.blue0 != 0 || px.blue1 != 0)) {
        addNoisyRow(px, phase, increment, noise);
        return;
    }
    addToneRow(px, phase, increment);
    // The wobble speed glides on every sounding frame of a stereo row, noisy or not.
    if (setup_.stereo)
        noise.modInc = static_cast<std::int32_t>(static_cast<std::uint32_t>(noise.modInc) +
                                                 static_cast<std::uint32_t>(s_) *
                                                     static_cast<std::uint32_t>(noise.modSlope));
}

void SliceSynth::addToneRow(const RowPixels& px, std::uint32_t& phase, std::uint32_t increment) {
    synth::ToneJob job;
    job.left = left_.data();
    job.frames = s_;
    job.phase = phase;
    job.increment = increment;
    if (setup_.stereo) {
        job.right = right_.data();
        job.red = amplitude(px.red0, px.red1, rampRed_);
        job.green = amplitude(px.green0, px.green1, rampGreen_);
        job.divisor = setup_.d0;
        setup_.kernels->toneStereo(setup_.sine->pairs.data(), job);
    } else {
        job.red = amplitude(px.red0 + px.green0, px.red1 + px.green1, rampRed_);
        job.inverse = 1 / setup_.d0;
        setup_.kernels->toneMono(setup_.sine->pairs.data(), job);
    }
    phase = (phase + static_cast<std::uint32_t>(s_) * increment) & kPhaseMask;
}

void SliceSynth::addNoisyRow(const RowPixels& px, std::uint32_t& phase, std::uint32_t increment,
                             NoiseState& noise) {
    const std::int32_t* pairs = setup_.sine->pairs.data();
    advanceNoise(noise, *setup_.seed, s_, increment, levels_.data(), modPhases_.data());

    synth::DisplacementJob wobble;
    wobble.modPhases = modPhases_.data();
    wobble.frames = s_;
    wobble.blue = amplitude(px.blue0, px.blue1, rampBlue_);
    wobble.modDepth = noise.modDepth;
    wobble.displacement = displacement_.data();
    wobble.floors = floors_.data();
    wobble.codes = codes_.data();
    setup_.kernels->displacement(pairs, wobble);

    phase = chainPhases(phase, increment, s_, displacement_.data(), floors_.data(), codes_.data(),
                        phases_.data());

    synth::NoiseToneJob job;
    job.left = left_.data();
    job.right = right_.data();
    job.frames = s_;
    job.phases = phases_.data();
    job.levels = levels_.data();
    job.red = amplitude(px.red0, px.red1, rampRed_);
    job.green = amplitude(px.green0, px.green1, rampGreen_);
    job.blue = wobble.blue;
    job.d0 = setup_.d0;
    job.levelDivisor = static_cast<double>(std::int64_t{noise.ampDivisor} * s_);
    setup_.kernels->noiseTone(pairs, job);
}

void SliceSynth::finish(std::int16_t* out) {
    if (setup_.stereo)
        setup_.kernels->convertStereo(left_.data(), right_.data(), out, s_);
    else
        setup_.kernels->convertMono(left_.data(), out, s_);
}

}  // namespace lumetra
