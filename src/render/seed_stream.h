#pragma once
// The draws of RandomSeed made ahead by four generators side by side, so that taking one is a
// load instead of a multiply-add that waits for the draw before it. The values are exactly the
// generator's sequence; commit() leaves the seed as if just the draws taken had been made (and
// starts again from it, in case others draw from the seed before the next draw here).

#include <cstddef>
#include <cstdint>

#include "render/random_seed.h"

namespace lumetra {

class SeedStream {
  public:
    explicit SeedStream(RandomSeed& seed) : seed_(seed), last_(seed.value) {}
    SeedStream(const SeedStream&) = delete;
    SeedStream& operator=(const SeedStream&) = delete;
    ~SeedStream() { commit(); }

    std::uint32_t next() {
        if (taken_ >= kAhead) refill();
        return values_[taken_++];
    }
    void commit() {
        if (taken_ > 0 && taken_ <= kAhead) seed_.value = values_[taken_ - 1];
        last_ = seed_.value;
        taken_ = kAhead + 1;
    }

  private:
    static constexpr std::size_t kAhead = 256;

    void refill() {
        const std::uint32_t start = taken_ == kAhead ? values_[kAhead - 1] : last_;
        constexpr std::uint32_t a1 = 1664525u, c1 = 1013904223u;
        constexpr std::uint32_t a2 = a1 * a1, c2 = a1 * c1 + c1;
        constexpr std::uint32_t a4 = a2 * a2, c4 = a2 * c2 + c2;
        std::uint32_t v0 = a1 * start + c1;
        std::uint32_t v1 = a1 * v0 + c1;
        std::uint32_t v2 = a1 * v1 + c1;
        std::uint32_t v3 = a1 * v2 + c1;
        for (std::size_t i = 0; i < kAhead; i += 4) {
            values_[i] = v0;
            values_[i + 1] = v1;
            values_[i + 2] = v2;
            values_[i + 3] = v3;
            v0 = a4 * v0 + c4;
            v1 = a4 * v1 + c4;
            v2 = a4 * v2 + c4;
            v3 = a4 * v3 + c4;
        }
        taken_ = 0;
    }

    RandomSeed& seed_;
    std::uint32_t last_;  // the seed before the first refill
    std::uint32_t values_[kAhead] = {};
    std::size_t taken_ = kAhead + 1;  // nothing made yet
};

}  // namespace lumetra
