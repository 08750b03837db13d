// The canvas's whole-window repaint at 1/16 on an 8000 x 1000 picture: the reduced copy rebuilt
// from every pixel (what a change of the pixels costs) and the window's pixels taken from it,
// against the general area-averaging resampler (the plain reference, which must agree byte for
// byte) and the same window at 1:1 (a plain copy of the picture's pixels) in one run. The
// program's target: the reduced repaint within 16 ms. Each side keeps its best round.
//
//   lumetra_canvas_zoom_bench [rounds]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>

#include "document/canvas_zoom.h"
#include "image/stretch_halftone.h"
#include "thumbnail_reference.h"

namespace {

using namespace lumetra;

constexpr double kTargetMilliseconds = 16.0;

// The processor time of this process, so that other programs on a busy machine do not count.
double processorMilliseconds() {
    return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
}

double bestMilliseconds(int rounds, const std::function<void()>& run) {
    double best = 1e30;
    for (int i = 0; i < rounds; ++i) {
        const double begin = processorMilliseconds();
        run();
        best = std::min(best, processorMilliseconds() - begin);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const PixelImage picture = testing::noisePicture(8000, 1000, 7);
    const Rect window{0, 0, 1260, 900};  // a maximized main window's canvas, in view pixels
    ReducedView reduced;
    std::size_t sink = 0;
    const double reducedMs = bestMilliseconds(rounds, [&] {
        reduced = ReducedView{};
        updateReducedView(reduced, picture, kMinZoomStep, Rect{0, 0, 8000, 1000});
        sink += viewPixels(picture, reduced, kMinZoomStep, window).bytes[0];
    });
    // The plain reference: the general area-averaging resampler over the whole picture.
    const double referenceMs = bestMilliseconds(std::max(1, rounds / 5), [&] {
        PixelImage copy = reduced.pixels;
        stretchHalftone(copy, StretchRect{0, 0, copy.width, copy.height}, picture,
                        StretchRect{0, 0, copy.width * 16, copy.height * 16});
        if (copy.bytes != reduced.pixels.bytes) std::printf("  the reduced copy differs!\n");
    });
    const double scrollMs = bestMilliseconds(
        rounds, [&] { sink += viewPixels(picture, reduced, kMinZoomStep, window).bytes[0]; });
    const double plainMs =
        bestMilliseconds(rounds, [&] { sink += viewPixels(picture, reduced, 0, window).bytes[0]; });
    std::printf("whole-window repaint at 1/16, 8000 x 1000 (%d rounds, best processor time):\n",
                rounds);
    std::printf("  pixels changed (reduced copy rebuilt): %8.3f ms  (target %.0f ms)\n", reducedMs,
                kTargetMilliseconds);
    std::printf("  the same copy by the general resampler: %6.3f ms  (%.1f times slower)\n",
                referenceMs, referenceMs / std::max(reducedMs, 1e-9));
    std::printf("  view moved (reduced copy kept):       %8.3f ms\n", scrollMs);
    std::printf("  1:1 window of the same size:          %8.3f ms  (rebuilt / 1:1 = %.1f)\n",
                plainMs, reducedMs / std::max(plainMs, 1e-9));
    std::printf("(%zu)\n", sink % 2);
    return reducedMs <= kTargetMilliseconds ? 0 : 1;
}
