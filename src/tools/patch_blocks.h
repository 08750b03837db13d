#pragma once
// The two patch libraries as the settings store keeps them: the brush library as its 576 stored
// bytes (the brush tool reads and writes its 36-byte records), the Echord library as 20 records of
// 13 words. Stored forms are little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace lumetra {

inline constexpr std::size_t kBrushPatchCount = 16;
inline constexpr std::size_t kBrushPatchBytes = 36;
inline constexpr std::size_t kBrushPatchBlockBytes = kBrushPatchCount * kBrushPatchBytes;  // 576

struct BrushPatchBlock {
    std::array<std::uint8_t, kBrushPatchBlockBytes> bytes{};
    friend bool operator==(const BrushPatchBlock&, const BrushPatchBlock&) = default;
};

inline constexpr std::size_t kEchordPatchCount = 20;
inline constexpr std::size_t kEchordPatchWords = 13;
inline constexpr std::size_t kEchordPatchBytes = kEchordPatchWords * 4;  // 52
inline constexpr std::size_t kEchordPatchBlockBytes =
    kEchordPatchCount * kEchordPatchBytes;  // 1040

// Words in the order of the Echord settings: angle, warp, hop, hop1, fade, fade1, num, mul, rand,
// jitter, swap, alt, wrap (hop and hop1 as slider positions).
struct EchordPatch {
    static constexpr std::size_t kHop = 2;
    static constexpr std::size_t kNum = 6;
    std::array<std::int32_t, kEchordPatchWords> words{};
    friend bool operator==(const EchordPatch&, const EchordPatch&) = default;
};
using EchordPatchTable = std::array<EchordPatch, kEchordPatchCount>;

std::array<std::uint8_t, kEchordPatchBlockBytes> encodeEchordPatches(const EchordPatchTable& table);
EchordPatchTable decodeEchordPatches(std::span<const std::uint8_t, kEchordPatchBlockBytes> bytes);

// A stored Echord record is taken only when its num lies in 1..100 and its hop in 1..499;
// anything else (such as an empty or damaged record) leaves the built-in record in its slot.
bool echordPatchAcceptable(const EchordPatch& patch);
void takeStoredEchordPatches(EchordPatchTable& live,
                             std::span<const std::uint8_t, kEchordPatchBlockBytes> stored);

}  // namespace lumetra
