#include "render/slice_pipeline.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

#include "render/noise_counters.h"
#include "render/render_helpers.h"
#include "render/sine_table.h"

namespace lumetra {

namespace {

// How many slices the caller may collect ahead of the ones being written out. With helpers a
// few, so that nobody waits for the slowest stage; fewer when noisy slices would need much
// memory (every noisy row keeps four values per frame).
std::size_t windowFor(const SliceSetup& setup, std::int32_t padded) {
    if (!setup.helpers || setup.helpers->threads() < 2) return 1;
    constexpr std::int64_t kMostSlices = 6;
    constexpr std::int64_t kNoisyBudget = std::int64_t{64} << 20;  // bytes
    std::int64_t slices = kMostSlices;
    if (setup.stereo && setup.withBlue) {
        const std::int64_t noisyBytes = std::int64_t{setup.rows} * padded * 16;
        slices = std::clamp<std::int64_t>(kNoisyBudget / std::max<std::int64_t>(noisyBytes, 1), 2,
                                          kMostSlices);
    }
    return static_cast<std::size_t>(slices);
}

// The cosine phase of soft sweeps: from -pi in steps of pi / (s div 2), added up in float, as
// buildSoftSweepTable makes its weights.
float softPhaseStart() {
    return static_cast<float>(-std::numbers::pi);
}
float softPhaseStep(std::int32_t s) {
    const std::int32_t half = s / 2;
    return half > 0 ? static_cast<float>(std::numbers::pi / half) : 0.0f;
}

bool noisyRow(const SliceSetup& setup, const RowPixels& px) {
    return setup.stereo && setup.withBlue && (px.blue0 != 0 || px.blue1 != 0);
}

}  // namespace

std::int32_t pieceFramesFor(std::int32_t rows, std::int32_t longest) {
    constexpr std::int64_t kNoisyPieceBytes = std::int64_t{32} << 20;
    std::int64_t frames = kNoisyPieceBytes / (16 * std::max<std::int64_t>(rows, 1));
    frames = std::min<std::int64_t>(std::max<std::int64_t>(frames, 64), longest);
    return static_cast<std::int32_t>(std::max<std::int64_t>(frames / synth::kBlock, 1) *
                                     synth::kBlock);
}

SlicePipeline::SlicePipeline(const SliceSetup& setup)
    : setup_(setup),
      s_(setup.samplesPerPixel),
      piece_(setup.pieceFrames > 0 && setup.pieceFrames < s_ ? setup.pieceFrames : s_),
      padded_(synth::paddedFrames(piece_)),
      pieced_(piece_ < s_),
      reciprocal_(setup.stereo ? setup.kernels->exactReciprocal(setup.d0) : 0.0f),
      bySlice_(makeDivider(setup.samplesPerPixel)),
      seeds_(*setup.seed) {
    const auto padded = static_cast<std::size_t>(padded_);
    window_.resize(windowFor(setup_, padded_));
    for (Slice& slice : window_) {
        slice.left.assign(padded, 0.0f);
        if (setup_.stereo) slice.right.assign(padded, 0.0f);
        slice.rows.reserve(static_cast<std::size_t>(setup_.rows));
    }
    if (pieced_) {
        rowSeeds_.resize(static_cast<std::size_t>(setup_.rows));
        if (setup_.softSweeps) {
            carried_.resize(static_cast<std::size_t>(setup_.rows));
            // The phase at the start of every piece, stepped through the slice once.
            const float step = softPhaseStep(s_);
            float phi = softPhaseStart();
            for (std::int32_t k = 0; k < s_; k += piece_) {
                pieceStartPhase_.push_back(phi);
                const std::int32_t end = std::min(s_ - k, piece_);
                for (std::int32_t j = 0; j < end; ++j)
                    phi += step;
            }
        }
    }
    const bool helped = window_.size() > 1;
    scratch_.resize(helped ? static_cast<std::size_t>(setup_.helpers->threads()) : 1);
    if (setup_.softSweeps) {
        for (Scratch& scratch : scratch_) {
            scratch.red.assign(padded, 0.0);
            scratch.green.assign(padded, 0.0);
            scratch.blue.assign(padded, 0.0);
        }
    }
    // Last, so that nothing above can throw with the helpers at work.
    if (helped) setup_.helpers->start([this](int thread) { helperWork(thread); });
}

SlicePipeline::~SlicePipeline() {
    waitAll();
    if (window_.size() > 1) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            closing_ = true;
            changes_.fetch_add(1, std::memory_order_relaxed);
        }
        changed_.notify_all();
        setup_.helpers->finish();
    }
}

void SlicePipeline::planNoiseDraws(const std::vector<SoundingRow>& rows, const NoiseState* noise) {
    seeds_.commit();
    RandomSeed& seed = *setup_.seed;
    for (const SoundingRow& row : rows) {
        if (!noisyRow(setup_, row.pixels)) continue;
        rowSeeds_[static_cast<std::size_t>(row.index)] = seed;
        skipNoiseDraws(noise[row.index], seed, s_);
    }
    seeds_.commit();  // the draws here go on from where the slice's rows leave the seed
}

void SlicePipeline::beginSlice(std::int16_t* out, std::int32_t first, std::int32_t frames) {
    Slice& slice = slot(collected_);
    {
        std::unique_lock<std::mutex> lock(mutex_);
        workUntil(
            lock, [&] { return !slice.busy; }, 0);
        slice.busy = true;
        slice.number = collected_;
    }
    slice.rows.clear();
    slice.noisyRows = 0;
    slice.out = out;
    slice.first = first;
    slice.frames = frames > 0 ? frames : s_;
    makeWeights(slice);
    collecting_ = &slice;
}

void SlicePipeline::makeWeights(Slice& slice) {
    if (!pieced_ || !setup_.softSweeps || slice.weightsFirst == slice.first) return;
    slice.weights.resize(static_cast<std::size_t>(padded_));
    const float step = softPhaseStep(s_);
    float phi = pieceStartPhase_[static_cast<std::size_t>(slice.first / piece_)];
    for (std::int32_t k = 0; k < slice.frames; ++k) {
        slice.weights[static_cast<std::size_t>(k)] =
            static_cast<float>(1 + std::cos(static_cast<double>(phi)));
        phi += step;
    }
    slice.weightsFirst = slice.first;
}

const float* SlicePipeline::weightsOf(const Slice& slice) const {
    return pieced_ ? slice.weights.data() : setup_.softWeights;
}

// Soft sweeps: the row's loudness at the start of the piece, and where the piece leaves it (the
// sums frame by frame, as amplitude() makes them).
void SlicePipeline::carryLoudness(const Slice& slice, Row& row) {
    const Loudness channels[3] = {row.red, row.green, row.blue};
    if (!pieced_) {
        row.redAt = static_cast<double>(row.red.start) * s_;
        row.greenAt = static_cast<double>(row.green.start) * s_;
        row.blueAt = static_cast<double>(row.blue.start) * s_;
        return;
    }
    std::array<double, 3>& carried = carried_[static_cast<std::size_t>(row.index)];
    if (slice.first == 0)
        for (int c = 0; c < 3; ++c)
            carried[c] = static_cast<double>(channels[c].start) * s_;
    row.redAt = carried[0];
    row.greenAt = carried[1];
    row.blueAt = carried[2];
    const float* w = slice.weights.data();
    for (int c = 0; c < 3; ++c) {
        const double slope = channels[c].end - channels[c].start;
        double value = carried[c];
        for (std::int32_t k = 0; k < slice.frames; ++k)
            value += slope * w[k];
        carried[c] = value;
    }
}

void SlicePipeline::addRow(const RowPixels& px, std::int32_t index, std::uint32_t increment,
                           NoiseState& noise) {
    Slice& slice = *collecting_;
    Row row;
    row.index = index;
    row.increment = increment;
    if (setup_.stereo) {
        row.red = {px.red0, px.red1};
        row.green = {px.green0, px.green1};
        row.blue = {px.blue0, px.blue1};
    } else {
        row.red = {px.red0 + px.green0, px.red1 + px.green1};
    }
    if (setup_.softSweeps) carryLoudness(slice, row);
    if (noisyRow(setup_, px)) {
        row.noisy = true;
        collectNoisyRow(slice, row, noise);
    } else if (setup_.stereo) {
        // The wobble speed glides on every sounding frame of a stereo row, noisy or not.
        noise.modInc = static_cast<std::int32_t>(static_cast<std::uint32_t>(noise.modInc) +
                                                 static_cast<std::uint32_t>(slice.frames) *
                                                     static_cast<std::uint32_t>(noise.modSlope));
    }
    slice.rows.push_back(row);
}

void SlicePipeline::collectNoisyRow(Slice& slice, Row& row, NoiseState& noise) {
    row.slot = slice.noisyRows++;
    const std::size_t at = static_cast<std::size_t>(row.slot) * padded_;
    if (at + padded_ > slice.levels.size()) {
        const std::size_t size = at + static_cast<std::size_t>(16) * padded_;
        slice.entries.resize(size, 0);
        slice.levels.resize(size, 0);
        slice.packed.resize(size, 0);
        slice.phases.resize(size, 0u);
    }
    if (pieced_) {
        // The row's own draws, planned before the slice's first piece.
        advanceNoise(noise, rowSeeds_[static_cast<std::size_t>(row.index)], *setup_.sine, s_,
                     slice.frames, bySlice_, row.increment, slice.levels.data() + at,
                     slice.entries.data() + at);
    } else {
        advanceNoise(noise, seeds_, *setup_.sine, s_, s_, bySlice_, row.increment,
                     slice.levels.data() + at, slice.entries.data() + at);
    }
    row.modDepth = noise.modDepth;
    row.levelDivisor = static_cast<double>(std::int64_t{noise.ampDivisor} * s_);
}

void SlicePipeline::endSlice() {
    seeds_.commit();
    collecting_ = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++collected_;
        ++inFlight_;
        changes_.fetch_add(1, std::memory_order_relaxed);
    }
    if (window_.size() > 1) changed_.notify_all();
}

void SlicePipeline::waitFor(std::int64_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    workUntil(
        lock, [&] { return written_ >= count; }, 0);
}

void SlicePipeline::waitAll() {
    std::unique_lock<std::mutex> lock(mutex_);
    workUntil(
        lock, [&] { return inFlight_ == 0; }, 0);
}

template <class Done>
void SlicePipeline::workUntil(std::unique_lock<std::mutex>& lock, Done done, int thread) {
    while (!done()) {
        const Task task = takeTask();
        if (task.stage == Stage::None) {
            awaitChange(lock);
            continue;
        }
        lock.unlock();
        runTask(task, thread);
        lock.lock();
        completeTask(task);
        changes_.fetch_add(1, std::memory_order_relaxed);
        if (window_.size() > 1) changed_.notify_all();
    }
}

// Another thread's task ends within a fraction of a slice: watching for it a little while costs
// less than going to sleep, since waking a sleeping thread can take as long as a small slice.
void SlicePipeline::awaitChange(std::unique_lock<std::mutex>& lock) {
    // Every change is counted under the lock, so the count read under it tells whether one came
    // while we watched; a change after that is notified only once we wait.
    const std::uint64_t seen = changes_.load(std::memory_order_relaxed);
    if (window_.size() > 1) {
        lock.unlock();
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(200);
        for (int i = 1; changes_.load(std::memory_order_relaxed) == seen; ++i)
            if (i % 64 == 0 && std::chrono::steady_clock::now() > until) break;
        lock.lock();
    }
    if (changes_.load(std::memory_order_relaxed) == seen) changed_.wait(lock);
}

void SlicePipeline::helperWork(int thread) {
    std::unique_lock<std::mutex> lock(mutex_);
    workUntil(
        lock, [&] { return closing_; }, thread);
}

// The chain of the oldest unchained slice first: it holds up everything after it.
SlicePipeline::Task SlicePipeline::takeTask() {
    if (!chaining_ && chained_ < collected_) {
        chaining_ = true;
        return {Stage::Chain, chained_};
    }
    if (nextAdd_ < chained_) return {Stage::Add, nextAdd_++};
    return {};
}

void SlicePipeline::runTask(const Task& task, int thread) {
    Scratch& scratch = scratch_[static_cast<std::size_t>(thread)];
    if (task.stage == Stage::Chain)
        chain(slot(task.slice), scratch);
    else
        add(slot(task.slice), scratch);
}

void SlicePipeline::completeTask(const Task& task) {
    if (task.stage == Stage::Chain) {
        chaining_ = false;
        ++chained_;
        return;
    }
    slot(task.slice).busy = false;
    --inFlight_;
    advanceWritten();
}

// Slices are written out in any order; a slot holds a later slice only once its earlier one is
// written.
void SlicePipeline::advanceWritten() {
    while (written_ < collected_) {
        const Slice& oldest = slot(written_);
        if (oldest.number == written_ && oldest.busy) return;
        ++written_;
    }
}

synth::Amplitude SlicePipeline::amplitude(const Slice& slice, Loudness loudness, double at,
                                          synth::LineArray<double>& ramp) const {
    synth::Amplitude a;
    a.slope = loudness.end - loudness.start;
    // Whole numbers: exact at any frame of the slice.
    a.start = static_cast<double>(loudness.start) * s_ + static_cast<double>(slice.first) * a.slope;
    if (!setup_.softSweeps) return a;
    // Soft sweeps: rounded frame by frame, so summed in order from the start of the slice (`at`
    // carries the sum to the start of the piece).
    const float* w = weightsOf(slice);
    double value = at;
    for (std::int32_t k = 0; k < slice.frames; ++k) {
        ramp[static_cast<std::size_t>(k)] = value;
        value += a.slope * w[k];
    }
    a.ramp = ramp.data();
    return a;
}

// Every row's phase at the start of the slice, and where it is after it.
void SlicePipeline::chain(Slice& slice, Scratch& scratch) {
    std::uint32_t* const phases = setup_.phases;
    for (Row& row : slice.rows) {
        std::uint32_t& phase = phases[row.index];
        row.phase = phase;
        if (!row.noisy) {
            phase = (phase + static_cast<std::uint32_t>(slice.frames) * row.increment) & kPhaseMask;
            continue;
        }
        const std::size_t at = static_cast<std::size_t>(row.slot) * padded_;
        synth::PhaseChainJob job;
        job.entries = slice.entries.data() + at;
        job.frames = slice.frames;
        job.blue = amplitude(slice, row.blue, row.blueAt, scratch.blue);
        job.modDepth = row.modDepth;
        job.phase = row.phase;
        job.increment = row.increment;
        job.sinePairs = setup_.sine->pairs.data();
        job.phases = slice.phases.data() + at;
        job.packed = slice.packed.data() + at;
        phase = setup_.kernels->phaseChain(job);
    }
}

// Every row added in row order, then the slice written out (which also clears its accumulators).
void SlicePipeline::add(Slice& slice, Scratch& scratch) {
    float* left = slice.left.data();
    float* right = setup_.stereo ? slice.right.data() : nullptr;
    const std::int32_t padded = synth::paddedFrames(slice.frames);
    for (const Row& row : slice.rows) {
        if (row.noisy) {
            const std::size_t at = static_cast<std::size_t>(row.slot) * padded_;
            synth::NoiseToneJob job;
            job.left = left;
            job.right = right;
            job.frames = padded;
            job.phases = slice.phases.data() + at;
            job.packed = slice.packed.data() + at;
            job.levels = slice.levels.data() + at;
            job.red = amplitude(slice, row.red, row.redAt, scratch.red);
            job.green = amplitude(slice, row.green, row.greenAt, scratch.green);
            job.blue = amplitude(slice, row.blue, row.blueAt, scratch.blue);
            job.d0 = setup_.d0;
            job.levelDivisor = row.levelDivisor;
            setup_.kernels->noiseTone(job);
            continue;
        }
        synth::ToneJob job;
        job.left = left;
        job.right = right;
        job.frames = padded;
        job.phase = row.phase;
        job.increment = row.increment;
        job.sinePairs = setup_.sine->pairs.data();
        job.red = amplitude(slice, row.red, row.redAt, scratch.red);
        if (setup_.stereo) {
            job.green = amplitude(slice, row.green, row.greenAt, scratch.green);
            job.divisor = setup_.d0;
            job.reciprocal = reciprocal_;
            setup_.kernels->toneStereo(job);
        } else {
            job.inverse = 1 / setup_.d0;
            setup_.kernels->toneMono(job);
        }
    }
    if (setup_.stereo)
        setup_.kernels->convertStereo(left, right, slice.out, slice.frames);
    else
        setup_.kernels->convertMono(left, slice.out, slice.frames);
}

}  // namespace lumetra
