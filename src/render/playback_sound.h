#pragma once
// The latest rendered sound, kept in memory for playback and for "Save Sound As...". Each render
// prepares it for the values it will make and finishes it to the values it made.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/rect.h"
#include "render/render_picture.h"
#include "render/wav_output.h"

namespace lumetra {

struct RenderContext;

struct PlaybackSound {
    OutputFormat format;                // the output format when the render started
    std::vector<std::int16_t> samples;  // interleaved left, right in stereo
    std::size_t position = 0;           // index of the next value to be queued
    std::int32_t repeat = 0;            // 1 = start again at the end
    std::int32_t valuesPerColumn = 0;   // channels * samplesPerPixel of the render
    std::int32_t pictureWidth = 0;
    std::int32_t pictureHeight = 0;
    Rect renderedRect;  // right is cut back when a render is cancelled
    // Sounds larger than this many values are treated as memory that cannot be had. 0: no sound
    // is kept at all while a soundfile is open (the render goes to the file only).
    std::size_t memoryLimitValues = std::size_t{1} << 31;

    std::size_t length() const { return samples.size(); }
    bool hasBuffer() const { return !samples.empty(); }
};

// Prepares the sound for `valueCount` values of a render of the picture (format copied from
// the context, values per column, picture size; samples resized, position 0). When the memory
// cannot be had it asks "Could not allocate memory for internal playback sound.\nRender to file
// only?"
// ("Memory Error"): No returns 0; Yes empties the sound and returns 1 when a soundfile is open,
// otherwise asks for a file with the save-sound dialog, switches "Save Sound at Every Render"
// on and returns the result of opening that file (0 when the dialog was cancelled).
int preparePlaybackSound(RenderContext& context, const RenderPicture& picture,
                         std::int64_t valueCount);

// Cuts or grows the sound to exactly `valueCount` values (0 leaves it empty); position 0.
void finishPlaybackSound(PlaybackSound& sound, std::int64_t valueCount);

}  // namespace lumetra
