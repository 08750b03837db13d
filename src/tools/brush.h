#pragma once
// The built brush: the colours of one dab and, for Spray and Round, its mask. The buffers belong
// to the brush and are remade only when its size changes, so that painting allocates nothing.

#include <cstdint>
#include <string>
#include <vector>

#include "image/pixel_image.h"
#include "render/random_seed.h"
#include "tools/brush_settings.h"

namespace lumetra {

struct Brush {
    // Change these only through buildBrush: the bitmap and mask follow them.
    BrushSettings settings;
    // width x height in the picture layout: row 0 is the bottom row of the dab.
    PixelImage bitmap;
    // width x height weights 0..255, rows and columns as the bitmap's; empty for Rect.
    std::vector<std::uint8_t> mask;
    // The most bytes (bitmap and mask) a brush may take; a larger one is refused as if memory had
    // run out. Tests lower it to see that path.
    std::int64_t byteLimit = kMaxPixelBytes;
};

inline constexpr const char* kBrushBitmapFailure = "Could not create brush bitmap";

enum class BrushFill {
    Colours,   // the colours filled in
    SeedOnly,  // for a brush refilled before its first use: Noise only moves the seed past its
               // draws
};

// Takes `settings` and makes the dab for them: new buffers when the size changed, the colours
// filled by the fade (Noise draws two values per pixel from `seed`, rows from the bottom, pixels
// left to right) and the mask computed for Spray and Round. False with kBrushBitmapFailure in
// `message` when the buffers cannot be had (a size below 1 included); the brush and the seed are
// then as they were.
bool buildBrush(Brush& brush, const BrushSettings& settings, RandomSeed& seed, std::string& message,
                BrushFill fill = BrushFill::Colours);

// Fills the colours again into the existing bitmap, as before every dab while the fade is Noise.
void refillBrush(Brush& brush, RandomSeed& seed);

}  // namespace lumetra
