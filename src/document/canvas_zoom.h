#pragma once
// The canvas's zoom: a view transform between picture and window coordinates, the zoom steps,
// and the reduced copy of the picture that a reduced view shows.
//
// The zoom steps are powers of two from 1/16 to 16 (step -4 .. 4), so every mapping is exact in
// integers: a magnified picture pixel is a block of m x m window pixels, a reduced window pixel
// the average of r x r picture pixels. "View coordinates" count window pixels from the picture's
// top left corner; window coordinates add the margin and subtract the scroll position.

#include <cstdint>
#include <string>

#include "image/pixel_image.h"
#include "image/rect.h"

namespace lumetra {

inline constexpr int kMinZoomStep = -4;  // 1/16
inline constexpr int kMaxZoomStep = 4;   // 16 times
// The gap between the window's edge and the picture at scroll position 0.
inline constexpr int kCanvasMargin = 7;

int clampZoomStep(int step);

// "1/4", "1:1", "4x": the zoom as the status bar shows it.
std::string zoomName(int step);

// The window extent of a picture extent (a partly covered reduced pixel counts whole).
std::int32_t viewExtent(std::int32_t pictureExtent, int step);
// The view coordinate of a picture edge (its left or top side), rounded down when reduced.
std::int32_t viewOfEdge(std::int32_t edge, int step);
// The view coordinate just past a picture edge seen from the left: rounded up when reduced, so
// that a rectangle's view covers every window pixel that shows part of it.
std::int32_t viewOfEdgeCeil(std::int32_t edge, int step);
// The picture pixel under a view pixel: the block's pixel when magnified, the middle of the
// averaged pixels when reduced. The view pixels from viewOfEdge(p) up to viewOfEdgeCeil(p + 1)
// show pixel p.
std::int32_t pixelUnder(std::int32_t view, int step);
// The picture edge nearest to a view coordinate (where a selection's side snaps to).
std::int32_t edgeNear(std::int32_t view, int step);

// The view coordinate of a real picture position (the middle of pixel x is x + 0.5).
double viewOfPosition(double picture, int step);

// One axis of the view: the zoom step and the scroll position (window pixels).
struct ViewTransform {
    int step = 0;
    std::int32_t scrollX = 0;
    std::int32_t scrollY = 0;
};

struct ViewPoint {
    std::int32_t x = 0, y = 0;
    friend bool operator==(const ViewPoint&, const ViewPoint&) = default;
};

// Window coordinates of a picture edge point and back.
ViewPoint windowOfEdge(const ViewTransform& t, ViewPoint picture);
ViewPoint pictureUnder(const ViewTransform& t, ViewPoint window);
ViewPoint edgeNearWindow(const ViewTransform& t, ViewPoint window);
// The window rectangle that shows a picture rectangle (right and bottom exclusive).
Rect windowRectOf(const ViewTransform& t, const Rect& picture);
// The picture rectangle whose pixels a window rectangle shows (partly shown pixels included).
Rect pictureRectUnder(const ViewTransform& t, const Rect& window);

// The scroll position on one axis after a zoom from `from` to `to` that keeps the picture point
// under window coordinate `window` where it is (before the scroll bars clamp it).
std::int32_t anchoredScroll(std::int32_t window, std::int32_t scroll, int from, int to);

// The largest step at which the picture fits a client area of this size with the margins.
int fitZoomStep(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t pictureWidth,
                std::int32_t pictureHeight);

// The reduced copy of the picture shown at zoom steps below 0: each of its pixels is the area
// average of the r x r picture pixels under it (the last row and column average what is there).
struct ReducedView {
    int step = 0;
    PixelImage pixels;
};

// Brings the reduced copy up to date for the picture area `changed` (picture coordinates); the
// whole copy when it was made for another step or picture size. Nothing for steps >= 0.
void updateReducedView(ReducedView& view, const PixelImage& picture, int step, const Rect& changed);

// The window pixels of a view rectangle (view coordinates, inside the picture's view) at `step`:
// magnified blocks, the reduced copy, or the picture itself.
PixelImage viewPixels(const PixelImage& picture, const ReducedView& reduced, int step,
                      const Rect& view);

}  // namespace lumetra
