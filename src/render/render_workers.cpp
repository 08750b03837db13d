#include "render/render_workers.h"

#include <algorithm>
#include <new>
#include <thread>

#include "render/render_helpers.h"
#include "render/synth_kernels.h"

namespace lumetra {
namespace {

// Below this many oscillator frames per slice, waking a helper costs more than it saves.
constexpr std::int64_t kFramesWorthHelping = 32768;

}  // namespace

bool synthPathAvailable(SynthPath path) {
    return path != SynthPath::Avx2 || synth::cpuHasAvx2();
}

RenderWorkers::RenderWorkers() = default;
RenderWorkers::~RenderWorkers() = default;

void RenderWorkers::setSynthPath(SynthPath path) {
    path_ = synthPathAvailable(path) ? path : SynthPath::Automatic;
}

SynthPath RenderWorkers::activeSynthPath() const {
    if (path_ != SynthPath::Automatic) return path_;
    return synth::cpuHasAvx2() ? SynthPath::Avx2 : SynthPath::Sse2;
}

void RenderWorkers::setHelpers(int helpers) {
    helpers_ = helpers < 0 ? -1 : helpers;
}

RenderHelpers* RenderWorkers::take(std::int32_t rows, std::int32_t samplesPerPixel) {
    int helpers = helpers_;
    if (helpers < 0) {
        const unsigned processors = std::thread::hardware_concurrency();
        const bool worth = std::int64_t{rows} * samplesPerPixel >= kFramesWorthHelping;
        if (!worth || processors < 2) return nullptr;
        helpers = static_cast<int>(std::min(processors - 1, 3u));
    }
    if (helpers == 0 || !lock_.try_lock()) return nullptr;
    try {
        if (!kept_ || kept_->threads() != helpers + 1) {
            kept_.reset();
            kept_ = std::make_unique<RenderHelpers>(helpers);
        }
    } catch (const std::bad_alloc&) {
        lock_.unlock();
        return nullptr;
    }
    return kept_.get();
}

void RenderWorkers::give(RenderHelpers* helpers) {
    if (helpers) lock_.unlock();
}

}  // namespace lumetra
