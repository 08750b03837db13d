#include "render/render_workers.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <thread>

#include "render/render_helpers.h"
#include "render/synth_kernels.h"

namespace lumetra {
namespace {

// Below this many oscillator frames per slice, waking a helper costs more than it saves.
constexpr std::int64_t kFramesWorthHelping = 32768;

// One helper per further processor, at most three.
int helpersOfThisProcessor() {
    const unsigned processors = std::thread::hardware_concurrency();
    return processors < 2 ? 0 : static_cast<int>(std::min(processors - 1, 3u));
}

// The best of nine rounds of a few stereo tone rows (the bulk of most renders) on each path,
// the two paths taking turns so that other load disturbs them alike (about half a millisecond in
// all). AVX-512 must win clearly: a tie on so short a run can hide the lower clock some
// processors give 512-bit loops once they run for long.
bool avx512Pays() {
    constexpr std::int32_t kFrames = 2048;
    const synth::LineArray<std::int32_t> pairs(8192, 0x12340101);
    synth::LineArray<float> left(kFrames, 0.0f), right(kFrames, 0.0f);
    synth::ToneJob job;
    job.left = left.data();
    job.right = right.data();
    job.frames = kFrames;
    job.increment = 0x00345678;
    job.sinePairs = pairs.data();
    job.red = {1000.0, 3.0, nullptr};
    job.green = {2000.0, -5.0, nullptr};
    job.divisor = 3.0e7f;
    job.reciprocal = 1.0f / 3.0e7f;
    const synth::Kernels* const kernels[] = {&synth::avx2Kernels(), &synth::avx512Kernels()};
    double best[2] = {1e300, 1e300};
    for (int round = 0; round < 9; ++round) {
        for (int k = 0; k < 2; ++k) {
            const auto start = std::chrono::steady_clock::now();
            for (int row = 0; row < 8; ++row)
                kernels[k]->toneStereo(job);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            best[k] = std::min(best[k], took.count());
        }
    }
    return best[1] * 1.05 < best[0];
}

}  // namespace

// The helpers taken, given back however the work ends.
struct RenderWorkers::HelpersHold {
    RenderWorkers& workers;
    RenderHelpers* helpers;
    ~HelpersHold() { workers.give(helpers); }
};

bool synthPathAvailable(SynthPath path) {
    switch (path) {
        case SynthPath::Avx2:
            return synth::cpuHasAvx2();
        case SynthPath::Avx512:
            return synth::cpuHasAvx512();
        default:
            return true;
    }
}

const char* synthPathName(SynthPath path) {
    if (path == SynthPath::Automatic)
        path = synth::cpuHasAvx512() ? SynthPath::Avx512
               : synth::cpuHasAvx2() ? SynthPath::Avx2
                                     : SynthPath::Sse2;
    switch (path) {
        case SynthPath::Avx512:
            return "AVX-512";
        case SynthPath::Avx2:
            return "AVX2";
        default:
            return "SSE2";
    }
}

RenderWorkers::RenderWorkers() = default;
RenderWorkers::~RenderWorkers() = default;

void RenderWorkers::setSynthPath(SynthPath path) {
    path_ = synthPathAvailable(path) ? path : SynthPath::Automatic;
}

SynthPath RenderWorkers::activeSynthPath() {
    if (path_ != SynthPath::Automatic) return path_;
    if (!synth::cpuHasAvx512()) return synth::cpuHasAvx2() ? SynthPath::Avx2 : SynthPath::Sse2;
    if (fastest_ == SynthPath::Automatic)
        fastest_ = avx512Pays() ? SynthPath::Avx512 : SynthPath::Avx2;
    return fastest_;
}

void RenderWorkers::setHelpers(int helpers) {
    helpers_ = helpers < 0 ? -1 : helpers;
}

RenderHelpers* RenderWorkers::take(std::int32_t rows, std::int32_t samplesPerPixel) {
    if (helpers_ < 0 && std::int64_t{rows} * samplesPerPixel < kFramesWorthHelping) return nullptr;
    return takeHelpers(helpers_ < 0 ? helpersOfThisProcessor() : helpers_);
}

RenderHelpers* RenderWorkers::takeHelpers(int helpers) {
    if (helpers == 0 || held_.exchange(true, std::memory_order_acquire)) return nullptr;
    try {
        if (!kept_ || kept_->threads() != helpers + 1) {
            kept_.reset();
            kept_ = std::make_unique<RenderHelpers>(helpers);
        }
    } catch (const std::bad_alloc&) {
        held_.store(false, std::memory_order_release);
        return nullptr;
    }
    return kept_.get();
}

void RenderWorkers::give(RenderHelpers* helpers) {
    if (helpers) held_.store(false, std::memory_order_release);
}

void RenderWorkers::runParts(int parts, const std::function<void(int part)>& work) {
    RenderHelpers* helpers =
        parts > 1 ? takeHelpers(helpers_ < 0 ? helpersOfThisProcessor() : helpers_) : nullptr;
    const HelpersHold hold{*this, helpers};
    if (!helpers) {
        for (int part = 0; part < parts; ++part)
            work(part);
        return;
    }
    std::atomic<int> next{0};
    helpers->share([&](int) {
        for (int part = next.fetch_add(1); part < parts; part = next.fetch_add(1))
            work(part);
    });
}

}  // namespace lumetra
