#pragma once
// The Echord patch library: the built-in table, and recall and store between a patch (hop and
// hop1 as slider positions) and the tool's settings (hop and hop1 as distances).

#include <cstdint>

#include "tools/echord.h"
#include "tools/patch_blocks.h"

namespace lumetra {

// Bank A slots "1".."9", "00" are records 0..9, bank B the same as 10..19.
inline constexpr std::size_t kEchordSlotsPerBank = 10;
inline constexpr std::size_t kEchordEmptySlotButton = 9;  // "00": Shift+click keeps its record

EchordPatchTable builtInEchordPatches();

// The slider positions of Hop and Hop1 that go with the settings (patches keep positions).
struct HopSliders {
    std::int32_t hop = 10;
    std::int32_t hop1 = 8;
};

// A recalled patch: the settings with hop and hop1 as distances, and the slider positions.
struct RecalledEchord {
    EchordSettings settings;
    HopSliders sliders;
};
RecalledEchord recallEchordPatch(const EchordPatch& patch);
EchordPatch storeEchordPatch(const EchordSettings& settings, HopSliders sliders);

// The record index of a slot button (0 for "1", 9 for "00") in bank A or B.
constexpr std::size_t echordSlotIndex(bool bankB, std::size_t button) {
    return button + (bankB ? kEchordSlotsPerBank : 0);
}

}  // namespace lumetra
