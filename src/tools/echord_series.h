#pragma once
// The series of Echord copies: distance, direction, fade and swap of each copy, computed in
// single precision in the order the copies are made. The random walk of the distance draws from
// the shared generator, so the series and the pixel loop take turns with it.

#include <cstdint>
#include <utility>

#include "render/random_seed.h"
#include "tools/echord.h"

namespace lumetra {

// One copy as the pixel loop needs it.
struct EchordCopy {
    std::int32_t offsetX = 0;   // whole pixels to the right
    std::int32_t offsetUp = 0;  // whole pixels towards the top
    std::int64_t scatter = 0;   // jitter so far (copy number x jitter)
    float fade = 0;             // fade fraction: a channel value s adds s - fade * s
    bool swap = false;          // red and green exchanged
};

// A draw of the generator as a signed 12-bit step (-2048..2047).
inline std::int64_t echordDraw(RandomSeed& seed) {
    return static_cast<std::int32_t>(nextRandom(seed)) >> 20;
}

// Two draws in a row, the second computed from the same start as the first (two steps of the
// generator folded into one), so that neither waits for the other.
inline std::pair<std::int64_t, std::int64_t> echordDrawPair(RandomSeed& seed) {
    const std::uint32_t first = seed.value * 1664525u + 1013904223u;
    const std::uint32_t second =
        seed.value * (1664525u * 1664525u) + (1013904223u * 1664525u + 1013904223u);
    seed.value = second;
    return {static_cast<std::int32_t>(first) >> 20, static_cast<std::int32_t>(second) >> 20};
}

class EchordSeries {
  public:
    explicit EchordSeries(const EchordSettings& settings);
    // Copy k (1, 2, ...): the random walk (one draw when rand is set), then the offsets.
    EchordCopy next(std::int32_t k, RandomSeed& seed);
    // After copy k: the distance grows, the direction turns, the fade grows, swap alternates.
    // False when the distance has fallen below half a pixel, which ends the series.
    bool advance(std::int32_t k);
    // True when no further copy can add anything: the fade fraction has reached 1 and only grows.
    bool spent() const;

  private:
    const EchordSettings& s_;
    float distance_;
    float direction_;
    float turn_;
    float fade_;
    bool swap_;
    std::int64_t scatter_ = 0;
};

}  // namespace lumetra
