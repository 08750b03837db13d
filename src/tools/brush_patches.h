#pragma once
// The brush patch library: 16 records of 36 bytes in two banks of 8 (bank A slots 1..8 are
// records 0..7, bank B records 8..15), the built-in table, and store and recall between a record
// and the brush settings.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "tools/brush_settings.h"
#include "tools/patch_blocks.h"

namespace lumetra {

inline constexpr std::size_t kBrushSlotsPerBank = 8;

// One record as stored, little-endian: width, height, colour1, colour2, flags (mix | fade |
// shape), the spray density, 6 reserved bytes, heat, blur, cycle, shift.
struct BrushPatch {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t colour1 = 0;
    std::uint32_t colour2 = 0;
    std::uint32_t flags = 0;
    std::int16_t density = 0;
    std::array<std::uint8_t, 6> reserved{};
    std::int16_t heat = 0, blur = 0, cycle = 0, shift = 0;
    friend bool operator==(const BrushPatch&, const BrushPatch&) = default;
};

BrushPatch readBrushPatch(const BrushPatchBlock& block, std::size_t slot);
void writeBrushPatch(BrushPatchBlock& block, std::size_t slot, const BrushPatch& patch);

BrushPatchBlock builtInBrushPatches();

// The flags word of the settings: (mix & 0xF00) | (fade & 0x70) | (shape & 0x7).
std::uint32_t brushPatchFlags(const BrushSettings& settings);

// A record the brush can be built from: width and height in 1..4096 and flags that decode to a
// known shape, fade and mix.
bool brushPatchAcceptable(const BrushPatch& patch);

// The stored block read at start: each acceptable record replaces the one in `live`; a damaged
// or empty record (an all-zero block, say) leaves the built-in one in its slot.
void takeStoredBrushPatches(BrushPatchBlock& live,
                            std::span<const std::uint8_t, kBrushPatchBlockBytes> stored);

// Shift + slot: size, colours, flags and the density always; the boiler's four values only when
// the mix is Boil (0 otherwise). The reserved bytes stay as they are.
void storeBrushPatch(BrushPatchBlock& block, std::size_t slot, const BrushSettings& settings);

// Slot: size, colours, shape, fade and mix from the record; the density only for Spray and the
// boiler's values only for Boil, else `current` keeps them. A record that is not acceptable
// recalls nothing.
BrushSettings recallBrushPatch(const BrushPatchBlock& block, std::size_t slot,
                               const BrushSettings& current);

// The brush as the program starts it: red to green, slot A1 recalled, density 40, the boiler's
// values 0.
BrushSettings initialBrushSettings(const BrushPatchBlock& block);

// The record of a slot button (0 for "1") in bank A or B.
constexpr std::size_t brushSlotIndex(bool bankB, std::size_t button) {
    return button + (bankB ? kBrushSlotsPerBank : 0);
}

// The slot button to show pressed when a bank is chosen: the current slot's button when it lies
// in that bank, none otherwise.
std::optional<std::size_t> markedBrushSlotButton(std::size_t currentSlot, bool bankB);

}  // namespace lumetra
