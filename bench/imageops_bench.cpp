// Reference against production image operations, in one run, on a 1920 x 1080 picture: each
// colour operation (the program's target: at most 5 ms each on one core), and for comparison the
// halftone stretch and a filter over the whole picture. Reference and production take turns and
// each keeps its best time, so that other load on the machine disturbs them alike. Every turn
// starts from the same picture; copying it is not timed.
//
//   lumetra_imageops_bench [repeats]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "bench_machine.h"
#include "image/stretch_halftone.h"
#include "imageops/colour_operations.h"
#include "imageops/composite.h"
#include "imageops_reference.h"

namespace {

using namespace lumetra;

constexpr double kColourTargetMs = 5.0;

// Bytes up to 200, so that Normalize and Brighten have work to do, and a third of the pixels
// without red and green, so that Clear Excess Blue has.
CanvasImage benchPicture() {
    CanvasImage image;
    adoptPixels(image, testing::randomPicture(1920, 1080, 11));
    std::mt19937 random(12);
    for (std::int32_t y = 0; y < 1080; ++y) {
        for (std::int32_t x = 0; x < 1920; ++x) {
            Rgb c = pixelAt(image.pixels, x, y);
            c = Rgb{std::uint8_t(c.red % 201), std::uint8_t(c.green % 201),
                    std::uint8_t(c.blue % 201)};
            if (random() % 3 == 0) c.red = c.green = 0;
            setPixel(image.pixels, x, y, c);
        }
    }
    return image;
}

struct Variant {
    std::function<void(CanvasImage&)> run;
    double bestMs = 1e300;
};

void timeOnce(const CanvasImage& start, Variant& v) {
    CanvasImage image = start;
    const auto begin = std::chrono::steady_clock::now();
    v.run(image);
    const auto end = std::chrono::steady_clock::now();
    v.bestMs = std::min(v.bestMs, std::chrono::duration<double, std::milli>(end - begin).count());
}

// Returns whether production met `targetMs` (always true without a target).
bool compare(const char* name, const CanvasImage& start, int repeats, Variant reference,
             Variant production, double targetMs = 0) {
    for (int r = 0; r < repeats; ++r) {
        timeOnce(start, reference);
        timeOnce(start, production);
    }
    const bool met = targetMs <= 0 || production.bestMs <= targetMs;
    std::printf("  %-22s reference %9.2f ms   production %7.3f ms   %7.1fx%s\n", name,
                reference.bestMs, production.bestMs, reference.bestMs / production.bestMs,
                targetMs <= 0 ? ""
                : met         ? "   within 5 ms"
                              : "   OVER 5 ms");
    return met;
}

}  // namespace

int main(int argc, char** argv) {
    lumetra::bench::printMachine("scalar and the compiler's SSE2");
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const CanvasImage start = benchPicture();
    using enum ColourOperation;
    const std::pair<const char*, ColourOperation> colours[] = {
        {"Normalize", Normalize}, {"Brighten", Brighten},
        {"Darken", Darken},       {"More Contrast", MoreContrast},
        {"Invert", Invert},       {"Clear Excess Blue", ClearExcessBlue},
    };
    std::printf("1920 x 1080, best of %d, one thread\n", repeats);
    bool allMet = true;
    for (const auto& entry : colours) {
        // Copied out: clang 14 cannot capture a structured binding.
        const auto name = entry.first;
        const auto operation = entry.second;
        allMet &=
            compare(name, start, repeats, {[operation](CanvasImage& image) {
                        testing::referenceColourOperation(image, operation);
                    }},
                    {[operation](CanvasImage& image) { applyColourOperation(image, operation); }},
                    kColourTargetMs);
    }

    // A small filter picture stretched over the whole picture, as a filter from the browser is.
    const PixelImage filter = testing::randomPicture(160, 90, 13);
    CompositeOptions options;
    options.percent = ChannelPercentages{100, 60, 30};
    compare("Filter 160x90 over all", start, std::max(1, repeats / 5),
            {[&](CanvasImage& image) { testing::referenceComposite(image, filter, options); }},
            {[&](CanvasImage& image) { compositeImage(image, filter, options); }});
    // Half Horizontally's stretch: 1920 columns onto 960.
    const StretchRect whole{0, 0, 1920, 1080}, half{0, 0, 960, 1080};
    compare(
        "Stretch to half width", start, std::max(1, repeats / 5), {[&](CanvasImage& image) {
            testing::referenceStretchHalftone(image.pixels, half, start.pixels, whole);
        }},
        {[&](CanvasImage& image) { stretchHalftone(image.pixels, half, start.pixels, whole); }});
    std::printf(allMet ? "every colour operation within %.0f ms\n"
                       : "a colour operation took longer than %.0f ms\n",
                kColourTargetMs);
    return 0;
}
