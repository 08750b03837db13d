// Reference against production renderer, in one run: real-time factors and oscillator-frames per
// second (sounding rows x frames / s) for the default picture with and without blue, and for a
// large picture without blue. The variants of a case take turns, and each keeps its best time, so
// that other load on the machine disturbs them alike.
//
//   lumetra_bench [repeats] [case number, 0 = all] [production | single]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "document/document_render.h"
#include "reference_renderer.h"
#include "render/render_engine.h"
#include "render_rig.h"

namespace {

using namespace lumetra;
using namespace lumetra::testing;

struct BenchCase {
    const char* name;
    std::int32_t width, height, sampleRate;
    double seconds;
    int command;
    PictureRecipe recipe;
};

// Sounding rows x frames of one render: a row sounds in a slice unless red and green are 0 in
// both neighbouring columns.
double oscillatorFrames(const PixelImage& pixels, std::int32_t s) {
    std::int64_t sounding = 0;
    for (std::int32_t r = 0; r < pixels.height; ++r) {
        const std::uint8_t* row = pixels.memoryRow(r);
        bool previous = false;
        for (std::int32_t x = 0; x <= pixels.width; ++x) {
            const bool lit = x < pixels.width && (row[3 * x + 1] != 0 || row[3 * x + 2] != 0);
            sounding += previous || lit;
            previous = lit;
        }
    }
    return static_cast<double>(sounding) * s;
}

struct Variant {
    const char* name;
    std::function<int(RenderContext&, ImageDocument&, int)> render;
    SynthPath path = SynthPath::Automatic;
    int helpers = -1;
    bool large = true;  // also run on the large case every repeat
    double best = 1e300;
    double soundSeconds = 0.0;
    double frames = 0.0;
};

// The program keeps one set of workers (and their threads) for the whole run; so does the bench.
void runOnce(const BenchCase& c, Variant& v, RenderWorkers& workers) {
    RenderRig rig(&workers);
    rig.sound.sampleRate = c.sampleRate;
    rig.sound.stereo = 1;
    RenderSettings settings;
    settings.outputTime = c.seconds;
    ImageDocument document = makeDocument(c.width, c.height, settings);
    fillRandom(document.current.pixels, 7, c.recipe);
    rig.workers.setSynthPath(v.path);
    rig.workers.setHelpers(v.helpers);
    const auto start = std::chrono::steady_clock::now();
    const int result = v.render(rig.context, document, c.command);
    const auto end = std::chrono::steady_clock::now();
    if (result != 1) {
        std::fprintf(stderr, "%s: render failed: %s\n", c.name, rig.ui.status[0].c_str());
        std::exit(1);
    }
    const double wall = std::chrono::duration<double>(end - start).count();
    if (wall < v.best) {
        v.best = wall;
        v.soundSeconds = static_cast<double>(rig.playback.length()) / 2 / c.sampleRate;
        v.frames =
            oscillatorFrames(document.current.pixels, document.current.settings.samplesPerPixel);
    }
}

void report(const Variant& v) {
    std::printf("  %-24s %8.3f s %9.2f x real-time %8.1f M oscillator-frames/s\n", v.name, v.best,
                v.soundSeconds / v.best, v.frames / v.best / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int only = argc > 2 ? std::atoi(argv[2]) : 0;
    const bool productionOnly = argc > 3 && std::strcmp(argv[3], "production") == 0;
    const bool singleOnly = argc > 3 && std::strcmp(argv[3], "single") == 0;
    PictureRecipe redGreenBlue;
    redGreenBlue.blue = true;
    PictureRecipe halfBlack;
    halfBlack.litShare = 0.5;
    const BenchCase cases[] = {
        {"300x150, 5 s, 22050 Hz stereo, random red/green/blue, with blue (300)", 300, 150, 22050,
         5.0, kRenderImage, redGreenBlue},
        {"300x150, 5 s, 22050 Hz stereo, same picture, without blue (302)", 300, 150, 22050, 5.0,
         kRenderWithoutBlue, redGreenBlue},
        {"1200x600, 60 s, 44100 Hz stereo, random red/green, half black, without blue (302)", 1200,
         600, 44100, 60.0, kRenderWithoutBlue, halfBlack},
    };
    const bool avx2 = synthPathAvailable(SynthPath::Avx2);
    std::printf("best instruction set: %s; %u processors\n", avx2 ? "AVX2" : "SSE2",
                std::thread::hardware_concurrency());
    RenderWorkers workers;
    int number = 0;
    for (const BenchCase& c : cases) {
        if (only && ++number != only) continue;
        const bool large = c.width > 300;
        std::vector<Variant> variants;
        if (!productionOnly && !singleOnly) {
            // The reference takes long on the large case: once is enough for it.
            variants.push_back({"reference", lumetra::testing::referenceRenderImage,
                                SynthPath::Automatic, -1, false});
            variants.push_back({"SSE2, one thread", renderDocument, SynthPath::Sse2, 0});
        }
        if (!productionOnly)
            variants.push_back({avx2 ? "AVX2, one thread" : "SSE2, one thread", renderDocument,
                                SynthPath::Automatic, 0});
        if (!singleOnly)
            variants.push_back({"production", renderDocument, SynthPath::Automatic, -1});
        std::printf("%s\n", c.name);
        for (int r = 0; r < repeats; ++r) {
            for (Variant& v : variants)
                if (!large || v.large || r == 0) runOnce(c, v, workers);
        }
        for (const Variant& v : variants)
            report(v);
        if (variants.size() > 2)
            std::printf(
                "  production / reference: %.2fx (one thread %.2fx, SSE2 one thread %.2fx)\n",
                variants[0].best / variants.back().best, variants[0].best / variants[2].best,
                variants[0].best / variants[1].best);
    }
    return 0;
}
