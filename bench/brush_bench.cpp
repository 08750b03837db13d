// The brush and the colour boiler against their plain references, in one run: one dab of every
// built-in patch (target 0.2 ms, Boil patches 1 ms), Apply Color Boiler on a 1920 x 1080
// selection (150 ms) and Apply Brush on 1920 x 1080 (50 ms). Times are the thread's processor
// time, so that other load on the machine counts less; fast and reference take turns and each
// keeps its best.
//
//   lumetra_brush_bench [repeats]

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "bench_machine.h"
#include "boiler_reference.h"
#include "brush_reference.h"
#include "render_rig.h"
#include "tools/brush_patches.h"
#include "tools/paint_dab.h"

namespace {

using namespace lumetra;
using namespace lumetra::testing;

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Best time of `body` over the repeats, with `prepare` (not timed) before each.
struct Contender {
    std::function<void()> prepare;
    std::function<void()> body;
    double best = 1e300;
};

void race(Contender& fast, Contender& reference, int repeats) {
    for (int r = 0; r < repeats; ++r) {
        for (Contender* c : {&fast, &reference}) {
            c->prepare();
            const double start = threadSeconds();
            c->body();
            c->best = std::min(c->best, threadSeconds() - start);
        }
    }
}

void report(const std::string& name, double fast, double reference, double target, int per) {
    const double fastMs = fast * 1e3 / per, referenceMs = reference * 1e3 / per;
    std::printf("%-28s fast %9.4f ms  reference %9.4f ms  ratio %5.2f  target %6.1f ms  %s\n",
                name.c_str(), fastMs, referenceMs, referenceMs / fastMs, target,
                fastMs <= target ? "ok" : "MISSED");
}

BrushSettings patchSettings(std::size_t slot) {
    const BrushPatchBlock patches = builtInBrushPatches();
    return recallBrushPatch(patches, slot, initialBrushSettings(patches));
}

std::string slotName(std::size_t slot) {
    return std::string(1, slot < 8 ? 'A' : 'B') + std::to_string(slot % 8 + 1);
}

// Dabs at points spread over a 640 x 480 picture, as a stroke leaves them.
void benchDabs(std::size_t slot, int repeats) {
    constexpr int kDabs = 200;
    const CanvasImage start = randomCanvas(640, 480, 11);
    const BrushSettings settings = patchSettings(slot);
    BrushTool tool;
    ReferenceBrush plain;
    CanvasImage fastImage, plainImage;
    RandomSeed seed, plainSeed;
    std::string message;
    buildBrush(tool.brush, settings, seed, message);
    plain = referenceBuildBrush(settings, plainSeed);
    Contender fast{[&] { fastImage = start; },
                   [&] {
                       for (int k = 0; k < kDabs; ++k)
                           paintDab(tool, fastImage, seed, 20 + k * 3, 40 + k * 2, message);
                   }};
    Contender reference{[&] { plainImage = start; },
                        [&] {
                            for (int k = 0; k < kDabs; ++k)
                                referencePaintDab(plainImage, plain, plainSeed, 20 + k * 3,
                                                  40 + k * 2);
                        }};
    race(fast, reference, repeats);
    const double target = settings.mix == ColorMix::Boil ? 1.0 : 0.2;
    report("dab " + slotName(slot), fast.best, reference.best, target, kDabs);
}

void benchWholePicture(std::size_t slot, bool boiler, int repeats) {
    const CanvasImage start = randomCanvas(1920, 1080, 12);
    BrushSettings settings = patchSettings(slot);
    if (boiler) settings.cycle = 20;  // every step of the boiler at work
    BrushTool tool;
    ReferenceBrush plain;
    CanvasImage fastImage, plainImage;
    RandomSeed seed, plainSeed;
    std::string message;
    buildBrush(tool.brush, settings, seed, message);
    plain = referenceBuildBrush(settings, plainSeed);
    Contender fast{[&] { fastImage = start; },
                   [&] {
                       if (boiler) {
                           applyColorBoiler(tool, fastImage, message);
                       } else {
                           applyBrushToImage(tool, fastImage, seed, message);
                       }
                   }};
    Contender reference{[&] { plainImage = start; },
                        [&] {
                            if (boiler) {
                                referenceRunBoiler(plainImage, plain, operationRegion(plainImage),
                                                   false);
                            } else {
                                referenceApplyBrush(plainImage, plain, plainSeed);
                            }
                        }};
    race(fast, reference, repeats);
    report(std::string(boiler ? "Apply Color Boiler " : "Apply Brush ") + slotName(slot), fast.best,
           reference.best, boiler ? 150.0 : 50.0, 1);
}

}  // namespace

int main(int argc, char** argv) {
    lumetra::bench::printMachine("scalar");
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    for (std::size_t slot = 0; slot < kBrushPatchCount; ++slot)
        benchDabs(slot, repeats);
    for (const std::size_t slot : {0, 1, 3, 9})  // Round, Spray, Rect with noise, Filter
        benchWholePicture(slot, false, repeats);
    for (const std::size_t slot : {13, 15})  // Round with blur and shift, Rect with noise
        benchWholePicture(slot, true, repeats);
    return 0;
}
