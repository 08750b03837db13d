#include "tools/echord_patches.h"

namespace lumetra {
namespace {

using Words = std::array<std::int32_t, kEchordPatchWords>;

// angle, warp, hop, hop1, fade, fade1, num, mul, rand, jitter, swap, alt, wrap
constexpr Words kEmpty{90, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr Words kBankA[] = {
    {90, 0, 10, 8, 16, 30, 4, 0, 0, 0, 0, 0, 0},    {90, 0, 5, 10, 10, 20, 2, 0, 0, 0, 0, 1, 0},
    {90, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1},       {90, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0},
    {270, 0, 6, 0, 8, 10, 2, 0, 0, 0, 1, 1, 1},     {270, 0, 13, 0, 20, 20, 6, 17, 0, 0, 0, 0, 1},
    {90, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},       {90, 0, 4, 13, 10, 25, 30, 0, 10, 80, 0, 0, 0},
    {60, -90, 11, 0, 7, 0, 30, -14, 0, 0, 0, 0, 0},
};

EchordSettings fromWords(const Words& w) {
    return EchordSettings{w[0], w[1], w[2], w[3],  w[4],  w[5], w[6],
                          w[7], w[8], w[9], w[10], w[11], w[12]};
}

Words toWords(const EchordSettings& s) {
    return Words{s.angle, s.warp, s.hop,    s.hop1, s.fade, s.fade1, s.num,
                 s.mul,   s.rand, s.jitter, s.swap, s.alt,  s.wrap};
}

}  // namespace

EchordPatchTable builtInEchordPatches() {
    EchordPatchTable table{};
    for (EchordPatch& patch : table)
        patch.words = kEmpty;
    for (std::size_t i = 0; i < std::size(kBankA); ++i)
        table[i].words = kBankA[i];
    return table;
}

RecalledEchord recallEchordPatch(const EchordPatch& patch) {
    RecalledEchord recalled{fromWords(patch.words), {}};
    recalled.sliders = HopSliders{recalled.settings.hop, recalled.settings.hop1};
    recalled.settings.hop = hopFromSlider(recalled.sliders.hop);
    recalled.settings.hop1 = hopFromSlider(recalled.sliders.hop1);
    return recalled;
}

EchordPatch storeEchordPatch(const EchordSettings& settings, HopSliders sliders) {
    EchordPatch patch{toWords(settings)};
    patch.words[EchordPatch::kHop] = sliders.hop;
    patch.words[EchordPatch::kHop + 1] = sliders.hop1;
    return patch;
}

}  // namespace lumetra
