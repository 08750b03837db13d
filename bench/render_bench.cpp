// Reference against production renderer, in one run: real-time factors and oscillator-frames per
// second (sounding rows x frames / s) for the default picture with and without blue, and for a
// large picture without blue, with every instruction set of the processor on one thread and the
// production set-up (the best set, helper threads). The large case also times the whole batch
// renderer, lumetra-render beside this program, from reading the picture to writing the WAV
// file. The variants of a case take turns, and each keeps its best time, so that other load on
// the machine disturbs them alike.
//
//   lumetra_bench [repeats] [case number, 0 = all] [production | single]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bench_machine.h"
#include "document/document_render.h"
#include "image/bmp_writer.h"
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
    double bestCpu = 1e300;  // processor time of the whole program (all threads)
    double soundSeconds = 0.0;
    double frames = 0.0;
};

double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

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
    const double startCpu = processorSeconds();
    const auto start = std::chrono::steady_clock::now();
    const int result = v.render(rig.context, document, c.command);
    const auto end = std::chrono::steady_clock::now();
    v.bestCpu = std::min(v.bestCpu, processorSeconds() - startCpu);
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

// The case's picture as a BMP file, for the batch renderer.
void writePicture(const BenchCase& c, const std::filesystem::path& path) {
    ImageDocument document = makeDocument(c.width, c.height);
    fillRandom(document.current.pixels, 7, c.recipe);
    const PixelImage& pixels = document.current.pixels;
    const auto header = encodeBmpHeader(pixels);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(header.data()), std::streamsize(header.size()));
    file.write(reinterpret_cast<const char*>(pixels.bytes.data()),
               std::streamsize(std::size_t(pixels.stride) * std::size_t(pixels.height)));
}

// lumetra-render on the case's picture, as a process of its own: the wall time of all of it.
void runProcess(const BenchCase& c, const std::string& program, Variant& v) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::filesystem::path picture = folder / "lumetra_bench_picture.bmp";
    const std::filesystem::path sound = folder / "lumetra_bench_sound.wav";
    writePicture(c, picture);
    const std::string command = "'" + program + "' --command " + std::to_string(c.command) +
                                " --rate " + std::to_string(c.sampleRate) + " --time " +
                                std::to_string(c.seconds) + " '" + picture.string() + "' '" +
                                sound.string() + "' >/dev/null";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const auto end = std::chrono::steady_clock::now();
    std::error_code ignored;
    std::filesystem::remove(picture, ignored);
    std::filesystem::remove(sound, ignored);
    if (status != 0) {
        std::fprintf(stderr, "%s failed\n", command.c_str());
        std::exit(1);
    }
    const double wall = std::chrono::duration<double>(end - start).count();
    if (wall < v.best) {
        v.best = wall;
        v.soundSeconds = c.seconds;
    }
}

void report(const Variant& v) {
    std::printf(
        "  %-24s %8.3f s %9.2f x real-time %8.1f M oscillator-frames/s  (processor %.3f s)\n",
        v.name, v.best, v.soundSeconds / v.best, v.frames / v.best / 1e6, v.bestCpu);
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int only = argc > 2 ? std::atoi(argv[2]) : 0;
    const bool productionOnly = argc > 3 && std::strcmp(argv[3], "production") == 0;
    const bool singleOnly = argc > 3 && std::strcmp(argv[3], "single") == 0;
    const std::string batchRenderer =
        (std::filesystem::absolute(argv[0]).parent_path() / "lumetra-render").string();
    PictureRecipe redGreenBlue;
    redGreenBlue.blue = true;
    PictureRecipe halfBlack;
    halfBlack.litShare = 0.5;
    const BenchCase cases[] = {
        {"300x150, 5 s, 22050 Hz stereo, random red/green/blue, with blue (300)", 300, 150, 22050,
         5.0, kRenderImage, redGreenBlue},
        {"300x150, 5 s, 22050 Hz stereo, same picture, without blue (302)", 300, 150, 22050, 5.0,
         kRenderWithoutBlue, redGreenBlue},
        {"1200x600, 20 s, 44100 Hz stereo, random red/green, half black, without blue (302)", 1200,
         600, 44100, 20.0, kRenderWithoutBlue, halfBlack},
    };
    RenderWorkers workers;
    bench::printMachine(synthPathName(workers.activeSynthPath()));
    int number = 0;
    for (const BenchCase& c : cases) {
        if (only && ++number != only) continue;
        const bool large = c.width > 300;
        std::vector<Variant> variants;
        if (!productionOnly && !singleOnly)
            variants.push_back({"reference", lumetra::testing::referenceRenderImage,
                                SynthPath::Automatic, -1, false});
        const std::size_t firstSingle = variants.size();
        if (!productionOnly) {
            for (const SynthPath path : {SynthPath::Sse2, SynthPath::Avx2, SynthPath::Avx512})
                if (synthPathAvailable(path))
                    variants.push_back(
                        {synthPathName(path), renderDocument, path, 0, path != SynthPath::Sse2});
        }
        const std::size_t production = variants.size();
        if (!singleOnly)
            variants.push_back(
                {"production, all threads", renderDocument, SynthPath::Automatic, -1});
        const bool process = large && !singleOnly && std::filesystem::exists(batchRenderer);
        std::printf("%s\n", c.name);
        Variant whole{"lumetra-render, whole", nullptr};
        for (int r = 0; r < repeats; ++r) {
            for (Variant& v : variants)
                if (!large || v.large || r == 0) runOnce(c, v, workers);
            if (process) runProcess(c, batchRenderer, whole);
        }
        for (const Variant& v : variants)
            report(v);
        if (process)
            std::printf("  %-24s %8.3f s %9.2f x real-time\n", whole.name, whole.best,
                        whole.soundSeconds / whole.best);
        if (productionOnly || singleOnly) continue;
        const double reference = variants[0].best;
        // The one-thread run of the production path.
        const SynthPath used = workers.activeSynthPath();
        std::size_t single = production - 1;
        for (std::size_t i = firstSingle; i < production; ++i)
            if (variants[i].path == used) single = i;
        const Variant& best = variants[single];
        std::printf("  against the reference: production %.2fx, %s one thread %.2fx, SSE2 %.2fx",
                    reference / variants[production].best, best.name, reference / best.best,
                    reference / variants[firstSingle].best);
        if (process) std::printf(", lumetra-render whole %.2fx", reference / whole.best);
        std::printf("\n  all threads against one (%s): %.2fx (processor time %.2fx)\n", best.name,
                    best.best / variants[production].best,
                    best.bestCpu / variants[production].bestCpu);
    }
    return 0;
}
