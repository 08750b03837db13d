// Echord against its plain version, in one run: patches A1 and A8 (30 copies, jitter 80) on a
// 1920 x 1080 picture of which half the pixels are black. The versions take turns and each keeps
// its best time, so that other load on the machine disturbs them alike: the plain one and ours on
// one thread by the processor time of the thread, ours shared among the program's threads by
// the wall clock (which counts what other programs take too).
//
//   lumetra_echord_bench [repeats]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

#include "bench_machine.h"
#include "echord_reference.h"
#include "tools/echord.h"
#include "tools/echord_patches.h"

namespace {

using namespace lumetra;
using Apply = void (*)(const PixelImage&, CanvasImage&, const EchordSettings&, RandomSeed&,
                       RenderWorkers*);

void plainEchord(const PixelImage& source, CanvasImage& image, const EchordSettings& settings,
                 RandomSeed& seed, RenderWorkers*) {
    testing::referenceEchord(source, image, settings, seed);
}

PixelImage halfBlackPicture() {
    std::string message;
    PixelImage pixels = *createCanvasBitmap(1920, 1080, message);
    std::mt19937 random(11);
    for (std::int32_t y = 0; y < pixels.height; ++y)
        for (std::int32_t x = 0; x < pixels.width; ++x)
            if (random() % 2)
                setPixel(
                    pixels, x, y,
                    Rgb{std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random())});
    return pixels;
}

// Processor time of this thread: on a machine busy with other work the wall clock would measure
// the others too.
double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double wallMilliseconds() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double processMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The time of one run; with workers also the processor time of all threads, in `processor`.
double milliseconds(Apply apply, const PixelImage& source, const EchordSettings& settings,
                    RenderWorkers* workers, double* processor = nullptr) {
    CanvasImage image;
    image.pixels = source;
    RandomSeed seed;
    const auto clock = workers ? wallMilliseconds : threadMilliseconds;
    const double startProcessor = processMilliseconds();
    const double start = clock();
    apply(source, image, settings, seed, workers);
    const double time = clock() - start;
    if (processor) *processor = std::min(*processor, processMilliseconds() - startProcessor);
    return time;
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const PixelImage source = halfBlackPicture();
    const EchordPatchTable patches = builtInEchordPatches();
    const std::pair<const char*, std::size_t> cases[] = {{"A1", 0}, {"A8", 7}};
    bench::printMachine("scalar");
    std::printf("Echord on 1920 x 1080, half black, best of %d\n", repeats);
    RenderWorkers workers;
    for (auto [name, slot] : cases) {
        const EchordSettings settings = recallEchordPatch(patches[slot]).settings;
        double one = 1e30, all = 1e30, plain = 1e30, allProcessor = 1e30;
        for (int r = 0; r < repeats; ++r) {
            plain = std::min(plain, milliseconds(plainEchord, source, settings, nullptr));
            one = std::min(one, milliseconds(addEchordCopies, source, settings, nullptr));
            all = std::min(
                all, milliseconds(addEchordCopies, source, settings, &workers, &allProcessor));
        }
        std::printf(
            "  patch %s: %.1f ms on all threads (processor %.1f ms), %.1f ms on one (plain "
            "version %.1f ms, %.2fx and %.2fx)\n",
            name, all, allProcessor, one, plain, plain / all, plain / one);
    }
    return 0;
}
