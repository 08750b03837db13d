#include "tools/patch_blocks.h"

namespace lumetra {

std::array<std::uint8_t, kEchordPatchBlockBytes> encodeEchordPatches(
    const EchordPatchTable& table) {
    std::array<std::uint8_t, kEchordPatchBlockBytes> bytes{};
    std::size_t at = 0;
    for (const EchordPatch& patch : table) {
        for (std::int32_t word : patch.words) {
            const auto u = static_cast<std::uint32_t>(word);
            bytes[at++] = std::uint8_t(u);
            bytes[at++] = std::uint8_t(u >> 8);
            bytes[at++] = std::uint8_t(u >> 16);
            bytes[at++] = std::uint8_t(u >> 24);
        }
    }
    return bytes;
}

EchordPatchTable decodeEchordPatches(std::span<const std::uint8_t, kEchordPatchBlockBytes> bytes) {
    EchordPatchTable table{};
    std::size_t at = 0;
    for (EchordPatch& patch : table) {
        for (std::int32_t& word : patch.words) {
            const std::uint32_t u = std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 |
                                    std::uint32_t(bytes[at + 2]) << 16 |
                                    std::uint32_t(bytes[at + 3]) << 24;
            word = static_cast<std::int32_t>(u);
            at += 4;
        }
    }
    return table;
}

bool echordPatchAcceptable(const EchordPatch& patch) {
    const std::int32_t num = patch.words[EchordPatch::kNum];
    const std::int32_t hop = patch.words[EchordPatch::kHop];
    return num >= 1 && num <= 100 && hop >= 1 && hop <= 499;
}

void takeStoredEchordPatches(EchordPatchTable& live,
                             std::span<const std::uint8_t, kEchordPatchBlockBytes> stored) {
    const EchordPatchTable scratch = decodeEchordPatches(stored);
    for (std::size_t i = 0; i < kEchordPatchCount; ++i)
        if (echordPatchAcceptable(scratch[i])) live[i] = scratch[i];
}

}  // namespace lumetra
