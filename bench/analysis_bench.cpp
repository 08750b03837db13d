// Wall time of the soundfile analysis on the grid users ask for: a 60-second sound at 44.1 kHz,
// 55 to 8000 Hz over 173 rows at 200 columns per second, mono and stereo, each its best of a few
// runs. Targets: 1 s mono, 2 s stereo.
//
//   lumetra_analysis_bench [repeats]

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <numbers>
#include <string>
#include <thread>

#include "analysis/sound_analysis.h"

namespace {

using namespace lumetra;

// A sound with something in every row: a gliding harmonic tone and noise bursts.
Sound makeSound(bool stereo) {
    Sound sound;
    sound.sampleRate = 44100;
    sound.fileChannels = stereo ? 2 : 1;
    const std::size_t frames = 60 * 44100;
    sound.left.resize(frames);
    if (stereo) sound.right.resize(frames);
    std::uint32_t seed = 1;
    double phase = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = double(i) / 44100;
        phase += 2 * std::numbers::pi * (150 + 50 * std::sin(t)) / 44100;
        double v = 0;
        for (int h = 1; h <= 20; ++h)
            v += std::sin(h * phase) / h;
        seed = seed * 1664525u + 1013904223u;
        const double noise = (double(seed >> 8) / 8388608.0 - 1) * (std::fmod(t, 1.0) < 0.2);
        sound.left[i] = float(0.1 * v + 0.05 * noise);
        if (stereo) sound.right[i] = float(0.05 * v - 0.1 * noise);
    }
    return sound;
}

std::string processor() {
    std::ifstream info("/proc/cpuinfo");
    std::string line;
    while (std::getline(info, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown processor";
}

struct Seconds {
    double wall = 1e9, processor = 1e9;
};

// Best wall time, and best processor time (all threads; on a machine shared with other work the
// wall time waits for the processors, this does not).
Seconds bestSeconds(const Sound& sound, int repeats) {
    const AnalysisGrid grid{55.0, 8000.0, 173, 200};
    Seconds best;
    for (int i = 0; i < repeats; ++i) {
        CanvasImage picture;
        std::string message;
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t startClock = std::clock();
        if (analyseSound(sound, grid, "bench.wav", picture, message) != AnalysisOutcome::Done) {
            std::fprintf(stderr, "analysis refused: %s\n", message.c_str());
            std::exit(1);
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best.wall = std::min(best.wall, took.count());
        best.processor =
            std::min(best.processor, double(std::clock() - startClock) / CLOCKS_PER_SEC);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::printf("processor: %s, %u threads\n", processor().c_str(),
                std::thread::hardware_concurrency());
    const Seconds mono = bestSeconds(makeSound(false), repeats);
    std::printf(
        "60 s mono 44.1 kHz, 173 rows, 200 columns/s:   %.3f s wall (target 1 s), %.3f s "
        "of processor time\n",
        mono.wall, mono.processor);
    const Seconds stereo = bestSeconds(makeSound(true), repeats);
    std::printf(
        "60 s stereo 44.1 kHz, 173 rows, 200 columns/s: %.3f s wall (target 2 s), %.3f s "
        "of processor time\n",
        stereo.wall, stereo.processor);
    return 0;
}
