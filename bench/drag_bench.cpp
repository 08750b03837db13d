// One drag event of each tool on a 1920 x 1080 picture: the production loop against the plain
// reference in the same run. Fast and reference take turns, each keeping its best time, so that
// other load on the machine disturbs them alike. The turning loops run on one thread and shared
// among the program's threads (as in the program); Move runs on one. The turned and folded loops
// read the snapshot scattered, so their absolute times follow how much of the shared cache other
// programs leave them: take the targets' verdict from a quiet machine.
//
//   lumetra_drag_bench [repeats]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "bench_machine.h"
#include "imageops/drag_pixels.h"
#include "imageops_reference.h"

namespace {

using namespace lumetra;

using Loop = std::function<void(const PixelImage&, PixelImage&)>;

struct Timing {
    double best = 1e300;
};

void timeOnce(const Loop& loop, const PixelImage& snapshot, PixelImage& picture, Timing& t) {
    const auto start = std::chrono::steady_clock::now();
    loop(snapshot, picture);
    const auto end = std::chrono::steady_clock::now();
    t.best = std::min(t.best, std::chrono::duration<double, std::milli>(end - start).count());
}

void compare(const char* name, const Loop& fast, const Loop& reference, int repeats,
             double targetMs) {
    const PixelImage snapshot = testing::randomPicture(1920, 1080, 1);
    PixelImage mine = testing::randomPicture(1920, 1080, 2);
    PixelImage theirs = mine;
    Timing f, r;
    for (int i = 0; i < repeats; ++i) {
        timeOnce(fast, snapshot, mine, f);
        timeOnce(reference, snapshot, theirs, r);
    }
    std::printf("  %-12s fast %7.3f ms (target %.0f ms: %s), reference %8.3f ms, %5.2fx%s\n", name,
                f.best, targetMs, f.best <= targetMs ? "met" : "MISSED", r.best, r.best / f.best,
                mine.bytes == theirs.bytes ? "" : "  RESULTS DIFFER");
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const Rect whole{0, 0, 1920, 1080};
    const DragPoint anchor{960, 540};
    const DragUnits units = dragUnits(kDefaultDragScreen);
    bench::printMachine("SSE2 (the drags' lanes)");
    std::printf("1920 x 1080, anchor 960, 540, screen 1920 x 1080, best of %d\n", repeats);
    RenderWorkers shared;  // the program's threads
    RenderWorkers* const threads[] = {nullptr, &shared};
    const char* const names[] = {"one thread", "all threads"};

    // Down and to the right: turned by 0.66 radians and shrunk 2.3 times, so most samples wrap.
    const ZoomRotate zoom = zoomRotateFor(anchor, {1100, 640}, units);
    // Both shears, the vertical one past 1 so that the picture folds.
    const SkewFlip skew = skewFlipFor(anchor, {1060, 600}, units);
    for (int t = 0; t < 2; ++t) {
        RenderWorkers* const workers = threads[t];
        std::printf(" %s\n", names[t]);
        compare(
            "zoom-rotate",
            [&](const PixelImage& s, PixelImage& d) {
                zoomRotatePixels(s, d, whole, anchor, zoom, workers);
            },
            [&](const PixelImage& s, PixelImage& d) {
                testing::referenceZoomRotate(s, d, whole, anchor, zoom);
            },
            repeats, 8.0);
        compare(
            "skew-flip",
            [&](const PixelImage& s, PixelImage& d) {
                skewFlipPixels(s, d, whole, anchor, skew, workers);
            },
            [&](const PixelImage& s, PixelImage& d) {
                testing::referenceSkewFlip(s, d, whole, anchor, skew);
            },
            repeats, 8.0);
    }

    const MoveShift shift = moveShiftFor(anchor, {1200, 700}, 1920, 1080);
    compare(
        "move", [&](const PixelImage& s, PixelImage& d) { shiftPixels(s, d, whole, shift); },
        [&](const PixelImage& s, PixelImage& d) { testing::referenceShift(s, d, whole, shift); },
        repeats, 2.0);
    return 0;
}
