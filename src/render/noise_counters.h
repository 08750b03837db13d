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

// Writes `frames` levels and table entries: the next frames of a slice of s frames (a long slice
// is made in pieces, each continuing where the one before left the state); bySlice divides by s.
void advanceNoise(NoiseState& noise, SeedStream& seed, const SineTable& sine, std::int32_t s,
                  std::int32_t frames, const Divider& bySlice, std::uint32_t increment,
                  std::int32_t* levels, std::int32_t* entries);

// The same drawing straight from the generator (a row's own seed, for a piece of a long slice).
void advanceNoise(NoiseState& noise, RandomSeed& seed, const SineTable& sine, std::int32_t s,
                  std::int32_t frames, const Divider& bySlice, std::uint32_t increment,
                  std::int32_t* levels, std::int32_t* entries);

// Makes the draws the row's counters make through a whole slice of s frames, and nothing else:
// the seed is left where advanceNoise over those frames would leave it, segment by segment rather
// than frame by frame. `noise` is the row's state at the start of the slice.
void skipNoiseDraws(const NoiseState& noise, RandomSeed& seed, std::int32_t s);

}  // namespace lumetra
