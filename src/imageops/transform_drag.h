#pragma once
// The Move, Zoom-rotate and Skew-flip drags of the canvas. The canvas takes the undo snapshot at
// button-down and keeps the anchor; every later mouse move calls one of these with the snapshot
// and the current pointer, and the picture is computed afresh from the snapshot, so the result
// depends only on anchor and pointer, never on the path the mouse took. The button-up needs
// nothing further. The caller repaints and shows the returned status text.

#include <cstdint>
#include <string>

#include "base/screen_size.h"
#include "image/pixel_image.h"
#include "image/rect.h"
#include "imageops/drag_geometry.h"
#include "render/render_settings.h"
#include "render/render_workers.h"

namespace lumetra {

enum class DeformKind { ZoomRotate, SkewFlip };

// The pictures of one drag event. `region` is the part of `picture` rewritten, cut to the
// picture: the tools transform the whole picture, so the canvas passes {0, 0, W, H}; a smaller
// region leaves the rest as it is. Sampling always wraps around the whole snapshot. The program
// lends the render's workers: a drag that comes through a render's own message pump finds them
// taken and goes alone.
struct DragPictures {
    const PixelImage& snapshot;
    PixelImage& picture;
    Rect region;
    RenderWorkers* workers;  // threads to share the pixel loops among (null: none)
};

// A status text and the status-bar part it belongs in.
struct DragStatus {
    int part = 0;
    std::string text;
    friend bool operator==(const DragStatus&, const DragStatus&) = default;
};

inline constexpr int kMoveStatusPart = 0;
inline constexpr int kDeformStatusPart = 1;

// Move: the picture follows the pointer with wrap-around. The status tells the shift in time and
// pitch from the picture's render settings. An empty picture gives an empty text and no change.
DragStatus moveDrag(const DragPictures& pictures, DragPoint anchor, DragPoint pointer,
                    const RenderSettings& settings);

// Zoom-rotate or skew-flip about the anchor; the screen sets the units of angle and shear.
DragStatus deformDrag(DeformKind kind, const DragPictures& pictures, DragPoint anchor,
                      DragPoint pointer, ScreenSize screen);

}  // namespace lumetra
