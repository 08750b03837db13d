#pragma once
// One slice of the production renderer: every sounding row of a column adds its oscillator into
// the slice's accumulators (left and right kept apart), then the slice becomes 16-bit values.
//
// The rows are collected first and added when the slice is finished: in row order, over chunks
// of frames that helper threads may share. Only the noise counters, which take random draws, must
// run in row order: they run at once, when a noisy row is collected. The wobble displacement and
// the phase chain of each noisy row are then done row by row (by any thread), and last the rows
// are added chunk of frames by chunk of frames.

#include <cstdint>
#include <vector>

#include "render/divider.h"
#include "render/random_seed.h"
#include "render/render_settings.h"
#include "render/seed_stream.h"
#include "render/synth_kernels.h"

namespace lumetra {

struct SineTable;
class FrameWorkers;

struct SliceSetup {
    const synth::Kernels* kernels = nullptr;
    const SineTable* sine = nullptr;
    RandomSeed* seed = nullptr;
    FrameWorkers* workers = nullptr;  // null: everything on the calling thread
    std::int32_t samplesPerPixel = 0;
    std::int32_t rows = 0;  // the most rows a slice can have
    bool stereo = true;
    bool withBlue = true;
    const float* softWeights = nullptr;  // null: straight glides
    float d0 = 1.0f;
};

struct RowPixels {
    std::int32_t blue0, green0, red0;  // the previous column
    std::int32_t blue1, green1, red1;  // this column
};

class SliceSynth {
  public:
    explicit SliceSynth(const SliceSetup& setup);
    SliceSynth(const SliceSynth&) = delete;
    SliceSynth& operator=(const SliceSynth&) = delete;

    // Collects one sounding row; advances its phase and noise state at once.
    void addRow(const RowPixels& pixels, std::uint32_t& phase, std::uint32_t increment,
                NoiseState& noise);
    // Adds the collected rows, writes channels * s values and clears the accumulators.
    void finish(std::int16_t* out);

  private:
    struct Loudness {
        std::int32_t start, end;  // column values
    };
    struct Row {
        bool noisy = false;
        std::uint32_t phase = 0;  // at the start of the slice
        std::uint32_t increment = 0;
        Loudness red{}, green{}, blue{};
        // Noisy rows: their storage slot, where the phase goes after the slice, the constants.
        std::int32_t slot = 0;
        std::uint32_t* phaseOut = nullptr;
        float modDepth = 1.0f;
        double levelDivisor = 1.0;
    };
    // Scratch of one thread.
    struct Scratch {
        std::vector<double> red, green, blue;
    };

    void collectNoisyRow(Row& row, NoiseState& noise);
    void chainNoisyRow(const Row& row, Scratch& scratch);
    void addChunk(std::int32_t first, std::int32_t count, Scratch& scratch);
    synth::Amplitude amplitude(Loudness loudness, std::int32_t first, std::int32_t count,
                               std::vector<double>& ramp) const;

    SliceSetup setup_;
    std::int32_t s_;
    std::int32_t padded_;
    std::vector<Row> rows_;
    std::vector<std::int32_t> noisyRows_;  // indices into rows_
    std::vector<float> left_, right_;
    std::vector<Scratch> scratch_;  // one per thread
    std::int32_t chunkFrames_;
    // Noisy rows, one padded slot each: the counters' results, then the phase chain's.
    Divider bySlice_;
    SeedStream seeds_;  // the draws of the noise counters (committed when the slice ends)
    std::vector<std::int32_t> noisyEntries_, noisyLevels_, noisyPacked_;
    std::vector<std::uint32_t> noisyPhases_;
};

}  // namespace lumetra
