#include "tools/brush_patches.h"

#include <algorithm>

#include "base/little_endian.h"

namespace lumetra {
namespace {

constexpr std::uint32_t kShapeBits = 0x7;
constexpr std::uint32_t kFadeBits = 0x70;
constexpr std::uint32_t kMixBits = 0xF00;
constexpr std::int32_t kLargestSide = 4096;

// Offsets within a record.
constexpr std::size_t kWidth = 0, kHeight = 4, kColour1 = 8, kColour2 = 12, kFlags = 16,
                      kDensity = 20, kReserved = 22, kHeat = 28, kBlur = 30, kCycle = 32,
                      kShift = 34;

std::span<std::uint8_t, kBrushPatchBytes> recordOf(BrushPatchBlock& block, std::size_t slot) {
    return std::span<std::uint8_t, kBrushPatchBytes>(block.bytes.data() + slot * kBrushPatchBytes,
                                                     kBrushPatchBytes);
}

std::int16_t readI16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int16_t>(le::readU16(b, at));
}
void writeI16(std::span<std::uint8_t> b, std::size_t at, std::int32_t v) {
    le::writeU16(b, at, static_cast<std::uint16_t>(v));  // the low 16 bits
}

bool knownShape(std::uint32_t v) {
    return v == 1 || v == 2 || v == 4;
}
bool knownFade(std::uint32_t v) {
    return v == 0x10 || v == 0x20 || v == 0x40;
}
bool knownMix(std::uint32_t v) {
    return v == 0x100 || v == 0x200 || v == 0x400 || v == 0x800;
}

BrushPatch builtIn(std::int32_t width, std::int32_t height, std::uint32_t colour1,
                   std::uint32_t colour2, BrushShape shape, ColorFade fade, ColorMix mix,
                   std::int16_t density = 0, std::array<std::int16_t, 4> boiler = {}) {
    BrushPatch p;
    p.width = width;
    p.height = height;
    p.colour1 = colour1;
    p.colour2 = colour2;
    p.flags = std::uint32_t(mix) | std::uint32_t(fade) | std::uint32_t(shape);
    p.density = density;
    p.heat = boiler[0];
    p.blur = boiler[1];
    p.cycle = boiler[2];
    p.shift = boiler[3];
    return p;
}

}  // namespace

BrushPatch readBrushPatch(const BrushPatchBlock& block, std::size_t slot) {
    const std::span<const std::uint8_t> b(block.bytes.data() + slot * kBrushPatchBytes,
                                          kBrushPatchBytes);
    BrushPatch p;
    p.width = le::readI32(b, kWidth);
    p.height = le::readI32(b, kHeight);
    p.colour1 = le::readU32(b, kColour1);
    p.colour2 = le::readU32(b, kColour2);
    p.flags = le::readU32(b, kFlags);
    p.density = readI16(b, kDensity);
    std::copy_n(b.begin() + kReserved, p.reserved.size(), p.reserved.begin());
    p.heat = readI16(b, kHeat);
    p.blur = readI16(b, kBlur);
    p.cycle = readI16(b, kCycle);
    p.shift = readI16(b, kShift);
    return p;
}

void writeBrushPatch(BrushPatchBlock& block, std::size_t slot, const BrushPatch& patch) {
    const std::span<std::uint8_t> b = recordOf(block, slot);
    le::writeI32(b, kWidth, patch.width);
    le::writeI32(b, kHeight, patch.height);
    le::writeU32(b, kColour1, patch.colour1);
    le::writeU32(b, kColour2, patch.colour2);
    le::writeU32(b, kFlags, patch.flags);
    writeI16(b, kDensity, patch.density);
    std::copy(patch.reserved.begin(), patch.reserved.end(), b.begin() + kReserved);
    writeI16(b, kHeat, patch.heat);
    writeI16(b, kBlur, patch.blur);
    writeI16(b, kCycle, patch.cycle);
    writeI16(b, kShift, patch.shift);
}

BrushPatchBlock builtInBrushPatches() {
    using S = BrushShape;
    using F = ColorFade;
    using M = ColorMix;
    const BrushPatch table[kBrushPatchCount] = {
        builtIn(20, 20, 0x0000FF, 0x00FF00, S::Round, F::Right, M::Cover),
        builtIn(20, 20, 0x0000FF, 0x00FF00, S::Spray, F::Right, M::Cover, 40),
        builtIn(1, 40, 0xFF00FF, 0x00FF00, S::Rect, F::Down, M::Cover),
        builtIn(40, 1, 0x0050A0, 0x78A000, S::Rect, F::Noise, M::Cover),
        builtIn(14, 35, 0x232D1E, 0x00193C, S::Rect, F::Down, M::Add),
        builtIn(35, 18, 0x323728, 0x000000, S::Rect, F::Noise, M::Add),
        builtIn(30, 30, 0x78A000, 0x7800A0, S::Spray, F::Right, M::Add, 70),
        builtIn(45, 18, 0x008C46, 0x78005A, S::Round, F::Right, M::Add),
        builtIn(20, 20, 0x0000FF, 0x00FF00, S::Rect, F::Down, M::Filter),
        builtIn(20, 20, 0x0000FF, 0x00FF00, S::Rect, F::Noise, M::Filter),
        builtIn(40, 20, 0xA08728, 0x5A28C8, S::Rect, F::Right, M::Filter),
        builtIn(20, 40, 0xC81EB4, 0x00B41E, S::Round, F::Right, M::Filter),
        builtIn(42, 23, 0x5A50FF, 0x14FF50, S::Round, F::Down, M::Filter),
        builtIn(50, 35, 0xFFFFFF, 0xFFFFFF, S::Round, F::Right, M::Boil, 0, {2, 30, 0, -100}),
        builtIn(20, 20, 0x0000FF, 0x00FF00, S::Rect, F::Down, M::Boil, 0, {-2, 0, 15, 0}),
        builtIn(20, 20, 0x001E9B, 0x46FF00, S::Rect, F::Noise, M::Boil, 0, {0, 35, 80, 45}),
    };
    BrushPatchBlock block;
    for (std::size_t slot = 0; slot < kBrushPatchCount; ++slot)
        writeBrushPatch(block, slot, table[slot]);
    return block;
}

std::uint32_t brushPatchFlags(const BrushSettings& settings) {
    return (std::uint32_t(settings.mix) & kMixBits) | (std::uint32_t(settings.fade) & kFadeBits) |
           (std::uint32_t(settings.shape) & kShapeBits);
}

bool brushPatchAcceptable(const BrushPatch& patch) {
    return patch.width >= 1 && patch.width <= kLargestSide && patch.height >= 1 &&
           patch.height <= kLargestSide && knownShape(patch.flags & kShapeBits) &&
           knownFade(patch.flags & kFadeBits) && knownMix(patch.flags & kMixBits);
}

void takeStoredBrushPatches(BrushPatchBlock& live,
                            std::span<const std::uint8_t, kBrushPatchBlockBytes> stored) {
    BrushPatchBlock scratch;
    std::copy(stored.begin(), stored.end(), scratch.bytes.begin());
    for (std::size_t slot = 0; slot < kBrushPatchCount; ++slot) {
        const BrushPatch patch = readBrushPatch(scratch, slot);
        if (brushPatchAcceptable(patch)) writeBrushPatch(live, slot, patch);
    }
}

void storeBrushPatch(BrushPatchBlock& block, std::size_t slot, const BrushSettings& settings) {
    BrushPatch patch = readBrushPatch(block, slot);  // for its reserved bytes
    patch.width = settings.width;
    patch.height = settings.height;
    patch.colour1 = settings.colour1;
    patch.colour2 = settings.colour2;
    patch.flags = brushPatchFlags(settings);
    patch.density = static_cast<std::int16_t>(settings.sprayDensity);
    const bool boil = settings.mix == ColorMix::Boil;
    patch.heat = boil ? static_cast<std::int16_t>(settings.heat) : 0;
    patch.blur = boil ? static_cast<std::int16_t>(settings.blur) : 0;
    patch.cycle = boil ? static_cast<std::int16_t>(settings.cycle) : 0;
    patch.shift = boil ? static_cast<std::int16_t>(settings.shift) : 0;
    writeBrushPatch(block, slot, patch);
}

BrushSettings recallBrushPatch(const BrushPatchBlock& block, std::size_t slot,
                               const BrushSettings& current) {
    const BrushPatch patch = readBrushPatch(block, slot);
    if (!brushPatchAcceptable(patch)) return current;
    BrushSettings s = current;
    s.width = patch.width;
    s.height = patch.height;
    s.colour1 = patch.colour1;
    s.colour2 = patch.colour2;
    s.fade = static_cast<ColorFade>(patch.flags & kFadeBits);
    s.shape = static_cast<BrushShape>(patch.flags & kShapeBits);
    s.mix = static_cast<ColorMix>(patch.flags & kMixBits);
    if (s.shape == BrushShape::Spray) {
        s.sprayDensity = patch.density;
        s.sprayThreshold = sprayThresholdFor(patch.density);
    }
    if (s.mix == ColorMix::Boil) {
        s.heat = patch.heat;
        s.cycle = patch.cycle;
        s.blur = patch.blur;
        s.shift = patch.shift;
    }
    return s;
}

BrushSettings initialBrushSettings(const BrushPatchBlock& block) {
    BrushSettings s;
    s.colour1 = 0x0000FF;
    s.colour2 = 0x00FF00;
    s = recallBrushPatch(block, 0, s);
    s.sprayDensity = 40;
    s.sprayThreshold = sprayThresholdFor(40);
    s.heat = s.blur = s.cycle = s.shift = 0;
    return s;
}

std::optional<std::size_t> markedBrushSlotButton(std::size_t currentSlot, bool bankB) {
    if ((currentSlot >= kBrushSlotsPerBank) != bankB) return std::nullopt;
    return currentSlot % kBrushSlotsPerBank;
}

}  // namespace lumetra
