#pragma once
// The oscillator table: one full sine period in 8192 signed 16-bit steps plus a guard entry, read
// with linear interpolation at 28-bit phases. Every oscillator of every render reads this table,
// so its values (truncated, not rounded) are part of the sound.

#include <array>
#include <cstdint>
#include <memory>

namespace lumetra {

inline constexpr std::uint32_t kPhaseMask = 0x0FFFFFFFu;  // phases are 28-bit numbers
inline constexpr int kSineSteps = 8192;
inline constexpr std::uint32_t kPhasePerStep = 32768;  // 2^28 / 8192

struct SineTable {
    std::array<std::int16_t, kSineSteps + 1> entries{};  // entry 8192 repeats entry 0
    // The same table packed for the vector renderer: entry i holds t[i + 1] - t[i] in its low
    // 16 bits and t[i] in its high 16 bits, so one 32-bit load gives both interpolation inputs.
    std::array<std::int32_t, kSineSteps> pairs{};
};

// Shown (caption "Fatal error") when the table cannot be had at start-up.
inline constexpr const char* kSineTableMemoryText = "Could not allocate oscil table memory";

// Fills the table: entry i = trunc(sin(2 * theta_i) * 32767) with theta_0 = -pi and theta stepped
// by pi / 8192 in double precision.
void fillSineTable(SineTable& table);

// A filled table on the heap, or nullptr when the memory cannot be had.
std::unique_ptr<SineTable> buildSineTable();

// The interpolated table value at a 28-bit phase (higher bits are ignored); divisions truncate
// toward zero.
inline std::int32_t sineAt(const SineTable& table, std::uint32_t phase) {
    phase &= kPhaseMask;
    const std::uint32_t i = phase / kPhasePerStep;
    const std::int32_t f = static_cast<std::int32_t>(phase % kPhasePerStep);
    const std::int32_t t0 = table.entries[i];
    const std::int32_t t1 = table.entries[i + 1];
    return t0 + ((t1 - t0) * f) / 32768;
}

}  // namespace lumetra
