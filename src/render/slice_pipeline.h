#pragma once
// The slices of the production renderer, made in three stages so that helper threads can share
// the work without changing a single value:
//  1. collect (the calling thread, slice after slice): the sounding rows of a column, and for
//     noisy rows the noise counters, whose random draws must stay in row and slice order;
//  2. chain (any thread, but slice after slice): every row's phase at the start of the slice,
//     and for noisy rows the wobble-displaced phase of every frame;
//  3. add (any thread, any slice whose chain is done): every row added into the slice's own
//     accumulators in row order, then the slice's 16-bit values written out.
// A row's phase through the slices depends only on stage 2, its noise state and the seed only
// on stage 1, so the caller collects later slices while earlier ones are chained and added.
// A window of a few slices bounds how far ahead it collects.
//
// A long slice (a column of many frames) is made in pieces of at most pieceFramesFor() frames,
// each handed through the stages like a slice of its own, so that the working buffers do not
// grow with the frames per column. Each piece continues where the one before left the rows'
// phases, noise states and loudness; the noise draws, which must stay in row order through the
// whole slice, are planned before its first piece: every noisy row gets the seed its draws
// start from (planNoiseDraws).

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "render/divider.h"
#include "render/random_seed.h"
#include "render/render_settings.h"
#include "render/seed_stream.h"
#include "render/synth_kernels.h"

namespace lumetra {

struct SineTable;
class RenderHelpers;

// The longest piece a slice of `rows` rows is made in (frames): its noisy rows keep 16 bytes per
// frame, so pieces get shorter as the rows grow in number; a multiple of 8, at most `longest`
// (RenderWorkers::longestPiece) and, unless that is shorter, at least 64 frames.
std::int32_t pieceFramesFor(std::int32_t rows, std::int32_t longest);

struct SliceSetup {
    const synth::Kernels* kernels = nullptr;
    const SineTable* sine = nullptr;
    RandomSeed* seed = nullptr;
    RenderHelpers* helpers = nullptr;  // null: everything on the calling thread
    std::uint32_t* phases = nullptr;   // the rows' phases (read and written by stage 2)
    std::int32_t samplesPerPixel = 0;
    std::int32_t pieceFrames = 0;  // slices longer than this are made in pieces; 0: never
    std::int32_t rows = 0;         // the most rows a slice can have
    bool stereo = true;
    bool withBlue = true;
    bool softSweeps = false;
    // The s cosine weights of soft sweeps for slices made whole; slices made in pieces make
    // the weights of each piece themselves.
    const float* softWeights = nullptr;
    float d0 = 1.0f;
};

struct RowPixels {
    std::int32_t blue0, green0, red0;  // the previous column
    std::int32_t blue1, green1, red1;  // this column
};

// A row that sounds in a slice: its index into the phases and its pixels.
struct SoundingRow {
    std::int32_t index = 0;
    RowPixels pixels{};
};

class SlicePipeline {
  public:
    explicit SlicePipeline(const SliceSetup& setup);
    // Finishes the slices handed over and lets the helpers go.
    ~SlicePipeline();
    SlicePipeline(const SlicePipeline&) = delete;
    SlicePipeline& operator=(const SlicePipeline&) = delete;

    // The frames of each piece of a slice: s when slices are made whole.
    std::int32_t pieceFrames() const { return piece_; }
    // Before the first piece of a slice made in pieces: the noise draws of its sounding rows (in
    // row order; `noise` indexed by row) are planned, and the seed left after all of them.
    void planNoiseDraws(const std::vector<SoundingRow>& rows, const NoiseState* noise);

    // Starts collecting the next slice, or its piece of `frames` frames from frame `first` on,
    // whose channels * frames values go to out (which must stay valid until waitAll() has
    // returned). May first help with earlier slices.
    void beginSlice(std::int16_t* out, std::int32_t first = 0, std::int32_t frames = 0);
    // Collects one sounding row (its index into the phases); advances its noise state at once.
    void addRow(const RowPixels& pixels, std::int32_t row, std::uint32_t increment,
                NoiseState& noise);
    // Hands the slice over to be chained and added.
    void endSlice();
    // How many slices (or pieces) have been handed over so far.
    std::int64_t handedOver() const { return collected_; }
    // Returns when the first `count` slices handed over have been written out; the later ones
    // may still be at work.
    void waitFor(std::int64_t count);
    // Returns when every slice handed over has been written out (and the phases are final).
    void waitAll();

  private:
    struct Loudness {
        std::int32_t start, end;  // column values
    };
    struct Row {
        std::int32_t index = 0;  // into the phases
        bool noisy = false;
        std::uint32_t increment = 0;
        std::uint32_t phase = 0;  // at the start of the slice (set by the chain)
        Loudness red{}, green{}, blue{};
        // Soft sweeps: the loudness at the first frame of the piece (summed frame by frame).
        double redAt = 0, greenAt = 0, blueAt = 0;
        // Noisy rows: their storage slot and constants.
        std::int32_t slot = 0;
        float modDepth = 1.0f;
        double levelDivisor = 1.0;
    };
    // One slice in the window.
    struct Slice {
        std::vector<Row> rows;
        std::int32_t noisyRows = 0;
        // Noisy rows, one padded slot each: the counters' results, then the chain's.
        synth::LineArray<std::int32_t> entries, levels, packed;
        synth::LineArray<std::uint32_t> phases;
        synth::LineArray<float> left, right;
        std::vector<float> weights;  // soft sweeps in pieces: the piece's cosine weights
        std::int32_t weightsFirst = -1;
        std::int32_t first = 0, frames = 0;  // the piece of the slice
        std::int16_t* out = nullptr;
        std::int64_t number = -1;  // among the slices handed over
        bool busy = false;         // collected or being collected, and not yet written out
    };
    // Scratch of one thread (soft-sweep loudness ramps).
    struct Scratch {
        synth::LineArray<double> red, green, blue;
    };
    enum class Stage { None, Chain, Add };
    struct Task {
        Stage stage = Stage::None;
        std::int64_t slice = 0;
    };

    Slice& slot(std::int64_t number) {
        return window_[static_cast<std::size_t>(number % windowSize())];
    }
    std::int64_t windowSize() const { return static_cast<std::int64_t>(window_.size()); }

    // Runs tasks (or waits for other threads' tasks) until done() holds; the lock is held.
    template <class Done>
    void workUntil(std::unique_lock<std::mutex>& lock, Done done, int thread);
    void awaitChange(std::unique_lock<std::mutex>& lock);
    void helperWork(int thread);
    Task takeTask();
    void runTask(const Task& task, int thread);
    void completeTask(const Task& task);
    void advanceWritten();

    void collectNoisyRow(Slice& slice, Row& row, NoiseState& noise);
    void chain(Slice& slice, Scratch& scratch);
    void add(Slice& slice, Scratch& scratch);
    synth::Amplitude amplitude(const Slice& slice, Loudness loudness, double at,
                               synth::LineArray<double>& ramp) const;
    const float* weightsOf(const Slice& slice) const;
    void makeWeights(Slice& slice);
    void carryLoudness(const Slice& slice, Row& row);

    SliceSetup setup_;
    std::int32_t s_;
    std::int32_t piece_;   // the frames of a piece (s when slices are made whole)
    std::int32_t padded_;  // of a piece
    bool pieced_;
    float reciprocal_;  // of d0 for the stereo tone rows (ToneJob::reciprocal)
    // Slices in pieces: each noisy row's own seed (planned), each row's soft-sweep loudness at
    // the start of the next piece, and the cosine phase at the start of every piece.
    std::vector<RandomSeed> rowSeeds_;
    std::vector<std::array<double, 3>> carried_;
    std::vector<float> pieceStartPhase_;
    Divider bySlice_;
    SeedStream seeds_;  // the draws of the noise counters (committed when a slice is collected)
    std::vector<Slice> window_;
    std::vector<Scratch> scratch_;  // one per thread
    Slice* collecting_ = nullptr;

    // The schedule, guarded by mutex_: slices [0, collected_) are collected, [0, chained_)
    // chained, [0, written_) written out, and those from nextAdd_ on not yet taken to be added.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::int64_t collected_ = 0;
    std::int64_t chained_ = 0;
    bool chaining_ = false;
    std::int64_t nextAdd_ = 0;
    std::int64_t written_ = 0;
    std::int64_t inFlight_ = 0;  // collected and not yet written out
    bool closing_ = false;
    std::atomic<std::uint64_t> changes_{0};  // counts the changes above, for threads that watch
};

}  // namespace lumetra
