#pragma once
// The machine a benchmark ran on, printed first so that figures from different machines can be
// told apart: the processor's own name (from cpuid), its processors, the vector instruction sets
// it offers, and the one the measured loops use.

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "render/render_workers.h"

#if defined(_MSC_VER)
#include <intrin.h>
#else
#include <cpuid.h>
#endif

namespace lumetra::bench {

inline std::string processorName() {
    unsigned words[12] = {};
#if defined(_MSC_VER)
    int r[4];
    __cpuid(r, static_cast<int>(0x80000000u));
    if (static_cast<unsigned>(r[0]) < 0x80000004u) return "unknown processor";
    for (unsigned leaf = 0; leaf < 3; ++leaf) {
        __cpuid(r, static_cast<int>(0x80000002u + leaf));
        std::memcpy(words + 4 * leaf, r, sizeof r);
    }
#else
    if (static_cast<unsigned>(__get_cpuid_max(0x80000000u, nullptr)) < 0x80000004u)
        return "unknown processor";
    for (unsigned leaf = 0; leaf < 3; ++leaf)
        __get_cpuid(0x80000002u + leaf, &words[4 * leaf], &words[4 * leaf + 1],
                    &words[4 * leaf + 2], &words[4 * leaf + 3]);
#endif
    char text[sizeof words + 1] = {};
    std::memcpy(text, words, sizeof words);
    std::string name(text);
    const auto first = name.find_first_not_of(' ');
    return first == std::string::npos ? "unknown processor" : name.substr(first);
}

// `used`: the instruction set of the measured loops.
inline void printMachine(const char* used) {
    std::string offered = "SSE2";
    if (synthPathAvailable(SynthPath::Avx2)) offered += ", AVX2";
    if (synthPathAvailable(SynthPath::Avx512)) offered += ", AVX-512";
    std::printf("processor: %s, %u processors; offers %s; loops use %s\n", processorName().c_str(),
                std::thread::hardware_concurrency(), offered.c_str(), used);
}

}  // namespace lumetra::bench
