#pragma once
// Echord (echo and chord): fainter copies of the operation region added into the picture, each
// displaced a growing distance in a compass direction. To the right is later in time (an echo),
// upwards higher in pitch (a chord tone).

#include <cstdint>

#include "base/float_conversion.h"
#include "document/canvas_image.h"
#include "render/random_seed.h"
#include "render/render_workers.h"

namespace lumetra {

// The thirteen values in the order the patches store them. hop and hop1 are distances in pixels
// here; patches keep the slider positions instead.
struct EchordSettings {
    std::int32_t angle = 90;  // compass degrees: 0 up, 90 right, 180 down, 270 left
    std::int32_t warp = 0;    // turn per copy in tenths of a degree, clockwise
    std::int32_t hop = 13;    // distance added per copy
    std::int32_t hop1 = 10;   // distance of the first copy; 0 = hop
    std::int32_t fade = 16;   // fade fraction growth per copy, in 1/300
    std::int32_t fade1 = 30;  // fade of the first copy in percent; 0 = fade
    std::int32_t num = 4;     // number of copies
    std::int32_t mul = 0;     // growth of the distance per copy
    std::int32_t rand = 0;    // random walk of the distance
    std::int32_t jitter = 0;  // random scatter of each copied pixel
    std::int32_t swap = 0;    // copies exchange red and green
    std::int32_t alt = 0;     // swap flips after every copy
    std::int32_t wrap = 0;    // copies leaving at the left or right re-enter at the other side
    friend bool operator==(const EchordSettings&, const EchordSettings&) = default;
};

// The most copies one application makes, whatever `num` holds (the Num slider's maximum).
inline constexpr std::int32_t kMostEchordCopies = 100;

// The distance of a Hop slider position: trunc(v + v * v / 30). Stored patches may hold any
// position; the result saturates rather than overflows.
inline std::int32_t hopFromSlider(std::int32_t v) {
    return truncToInt32(v + double(v) * v / 30);
}

// Adds the copies of `source`'s operation region (the region of `destination`: its selection, or
// the whole picture) into `destination`. `source` is the picture as it was before, of the same
// size, so that copies are never copied again. Random draws come from `seed` in a fixed order:
// they are part of the result. Scattered copies share the picture among the threads of
// `workers` when given (null: the calling thread alone); the result is the same.
void addEchordCopies(const PixelImage& source, CanvasImage& destination,
                     const EchordSettings& settings, RandomSeed& seed, RenderWorkers* workers);

}  // namespace lumetra
