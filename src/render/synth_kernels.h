#pragma once
// The vector loops of the production renderer, one table of them per instruction set. They work
// on one row in one slice, over the frames of the slice, and reproduce the plain arithmetic
// exactly: sine values interpolated in integers, v / D in float, v / D times an amplitude and the
// sum with the accumulator in double, rounded to float once per frame.
//
// Buffers are padded: every array the loops read or write holds paddedFrames(s) entries, and the
// entries past s hold harmless values (the loops may process them).

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace lumetra::synth {

inline constexpr std::int32_t kBlock = 16;  // the widest vector of frames

inline std::int32_t paddedFrames(std::int32_t frames) {
    return (frames + kBlock - 1) / kBlock * kBlock;
}

// The arrays the loops work through start on a cache line: a 64-byte vector that straddles two
// lines costs two accesses, and the AVX-512 loops took half as long again with such arrays.
template <class T>
struct LineAllocator {
    using value_type = T;
    static constexpr std::align_val_t kLine{64};
    LineAllocator() = default;
    template <class U>
    LineAllocator(const LineAllocator<U>&) {}
    T* allocate(std::size_t n) { return static_cast<T*>(::operator new(n * sizeof(T), kLine)); }
    void deallocate(T* p, std::size_t) { ::operator delete(p, kLine); }
    friend bool operator==(const LineAllocator&, const LineAllocator&) { return true; }
};
template <class T>
using LineArray = std::vector<T, LineAllocator<T>>;

// Loudness over a slice: start + k * slope (straight glide, exact in double), or the values of a
// ramp array (soft sweeps, summed frame by frame beforehand).
struct Amplitude {
    double start = 0.0;
    double slope = 0.0;
    const double* ramp = nullptr;
};

// The table words (SineTable::pairs) are read with scalar loads, one vector ahead of the
// arithmetic that uses them: on the processors we measured, a vector gather costs more than the
// arithmetic around it, while scalar loads run beside it.

// A row without noise. Stereo adds into left and right (divisor D0); mono adds into left
// (inverse 1 / D0 as float).
struct ToneJob {
    float* left = nullptr;
    float* right = nullptr;
    std::int32_t frames = 0;
    std::uint32_t phase = 0;
    std::uint32_t increment = 0;
    const std::int32_t* sinePairs = nullptr;
    Amplitude red, green;  // mono: red carries the summed red and green amplitude
    float divisor = 1.0f;
    float inverse = 1.0f;
    // Stereo: 1 / D0 when the kernels' exactReciprocal found it exact, else 0 (the loops divide).
    float reciprocal = 0.0f;
};

// The phase of a noisy row through the slice. Per frame the wobble displacement
// g = (t[modPhase div 32768] / modDepth) * aB is made in double, a vector ahead; then
// p = trunc(g + p) + increment, masked, frame after frame (with g split into floor and fraction
// this is integer work; frames whose fraction lies too close to a whole number, or whose g is
// out of range, take the floating-point way). Records each frame's phase and table word and
// returns the phase after the slice. frames is s itself (not padded).
struct PhaseChainJob {
    const std::int32_t* entries = nullptr;  // t[modPhase div 32768] of each frame
    std::int32_t frames = 0;
    Amplitude blue;
    float modDepth = 1.0f;
    std::uint32_t phase = 0;
    std::uint32_t increment = 0;
    const std::int32_t* sinePairs = nullptr;
    std::uint32_t* phases = nullptr;  // out
    std::int32_t* packed = nullptr;   // out
};

// A noisy stereo row once its phases and amplitude-noise levels are known: per frame
// D = D0 + level * aB / divisor (double, rounded to float), then as a tone row with that D.
struct NoiseToneJob {
    float* left = nullptr;
    float* right = nullptr;
    std::int32_t frames = 0;
    const std::uint32_t* phases = nullptr;  // masked phase at the start of each frame
    const std::int32_t* packed = nullptr;   // the table word of each frame
    const std::int32_t* levels = nullptr;   // ampLevel of each frame
    Amplitude red, green, blue;
    float d0 = 1.0f;
    double levelDivisor = 1.0;  // ampDivisor * s
};

struct Kernels {
    void (*toneStereo)(const ToneJob& job);
    void (*toneMono)(const ToneJob& job);
    std::uint32_t (*phaseChain)(const PhaseChainJob& job);
    void (*noiseTone)(const NoiseToneJob& job);
    // r = 1 / divisor (in float) when, for every v of 16 bits (the sine values), q = v * r
    // corrected by fused multiply-adds, q + (v - q * divisor) * r, gives the bits of
    // v / divisor; else 0 (also where the instruction set has no fused multiply-add).
    float (*exactReciprocal)(float divisor);
    // Clip to 16 bits (truncating), interleave, and zero the accumulators (all padded frames).
    void (*convertStereo)(float* left, float* right, std::int16_t* out, std::int32_t frames);
    void (*convertMono)(float* mono, std::int16_t* out, std::int32_t frames);
};

const Kernels& sse2Kernels();
const Kernels& avx2Kernels();
const Kernels& avx512Kernels();
bool cpuHasAvx2();
bool cpuHasAvx512();

}  // namespace lumetra::synth
