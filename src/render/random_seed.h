#pragma once
// The program-wide linear congruential generator shared by the renderer, the brush and Echord.
// The order of draws is part of the sound: never draw where the algorithms do not.

#include <cstdint>

namespace lumetra {

struct RandomSeed {
    static constexpr std::uint32_t kStart = 0x16BA2118u;
    std::uint32_t value = kStart;
};

inline std::uint32_t nextRandom(RandomSeed& seed) {
    seed.value = seed.value * 1664525u + 1013904223u;
    return seed.value;
}

}  // namespace lumetra
