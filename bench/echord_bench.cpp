// Echord against its plain version, in one run: patches A1 and A8 (30 copies, jitter 80) on a
// 1920 x 1080 picture of which half the pixels are black. The two versions take turns and each
// keeps its best processor time, so that other load on the machine disturbs them alike.
//
//   lumetra_echord_bench [repeats]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

#include "echord_reference.h"
#include "tools/echord.h"
#include "tools/echord_patches.h"

namespace {

using namespace lumetra;
using Apply = void (*)(const PixelImage&, CanvasImage&, const EchordSettings&, RandomSeed&);

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

double milliseconds(Apply apply, const PixelImage& source, const EchordSettings& settings) {
    CanvasImage image;
    image.pixels = source;
    RandomSeed seed;
    const double start = threadMilliseconds();
    apply(source, image, settings, seed);
    return threadMilliseconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const PixelImage source = halfBlackPicture();
    const EchordPatchTable patches = builtInEchordPatches();
    const std::pair<const char*, std::size_t> cases[] = {{"A1", 0}, {"A8", 7}};
    std::printf("Echord on 1920 x 1080, half black, best of %d\n", repeats);
    for (auto [name, slot] : cases) {
        const EchordSettings settings = recallEchordPatch(patches[slot]).settings;
        double fast = 1e30, plain = 1e30;
        for (int r = 0; r < repeats; ++r) {
            plain =
                std::min(plain, milliseconds(lumetra::testing::referenceEchord, source, settings));
            fast = std::min(fast, milliseconds(addEchordCopies, source, settings));
        }
        std::printf("  patch %s: %.1f ms (plain version %.1f ms, %.2fx)\n", name, fast, plain,
                    plain / fast);
    }
    return 0;
}
