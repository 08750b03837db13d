#pragma once
// The counters of a noisy row through one slice, frame by frame: the amplitude segments (with
// their random draws), the level they lead to, the wobble segments (with theirs) and the table
// entry the wobble oscillator reads. The draws must happen in row order, slice after slice.

#include <cstdint>

#include "render/divider.h"
#include "render/render_settings.h"
#include "render/seed_stream.h"

namespace lumetra {

struct SineTable;

// Writes s levels and s table entries; bySlice divides by s.
void advanceNoise(NoiseState& noise, SeedStream& seed, const SineTable& sine, std::int32_t s,
                  const Divider& bySlice, std::uint32_t increment, std::int32_t* levels,
                  std::int32_t* entries);

}  // namespace lumetra
