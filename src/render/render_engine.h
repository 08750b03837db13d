#pragma once
// The render engine: a picture becomes sound. Every pixel row is a sine oscillator (bottom row
// lowest), every column a slice of samplesPerPixel frames; red is the left channel's loudness,
// green the right's, blue (stereo renders with blue only) a noise band around the row's pitch.
// Loudness glides from one column to the next, straight or along a cosine curve.
//
// renderImage runs synchronously: it pumps one message per column through the host, stops when
// Esc is held, and streams the samples into the optional soundfile and the PlaybackSound.

#include <cstdint>

#include "image/pixel_image.h"
#include "image/rect.h"
#include "render/render_context.h"
#include "render/render_picture.h"

namespace lumetra {

inline constexpr int kRenderImage = 300;        // whole picture, with blue
inline constexpr int kRenderSelection = 301;    // selection, with blue
inline constexpr int kRenderWithoutBlue = 302;  // whole picture, blue ignored
inline constexpr int kRenderSelectionWithoutBlue = 303;

// Renders the picture by command 300..303. 1 when the render ran to its end (also when the
// user declined playback memory and no samples were made); 0 when it was refused (another render
// running, no red or green in the region, unusable settings, soundfile not opened, memory),
// cancelled with Esc, or when its soundfile could not be written and no sound is in memory. Texts
// go to the status bar; the picture's render info is recorded only for a complete render.
int renderImage(RenderContext& context, const RenderPicture& picture, int command);

// The normaliser of a region (picture coordinates) from its largest red or green column sum F
// and its largest count of lit red or green pixels M; blue is not counted. When F < 0.1 the
// status bar shows "No image data to render!" and the result is -1.
double computeNormaliser(UserInterface& ui, const PixelImage& pixels, const Rect& region,
                         double ampFactor);

// s + 1 weights: 1 + cos(phi_k), phi_0 = -pi, stepped by pi / (s div 2) in float; the last is 2.
// False (and a warning "Memory error when allocating softsweep table") when memory is short.
bool buildSoftSweepTable(UserInterface& ui, SoftSweepTable& table, std::int32_t samplesPerPixel);

}  // namespace lumetra
