#pragma once
// One slice of the production renderer: every sounding row of a column adds its oscillator into
// the slice's accumulators (left and right kept apart), then the slice becomes 16-bit values.
// Rows without noise are one vector loop; noisy rows (stereo renders with blue) run their
// sequential noise counters and phase chain as short scalar loops around vector loops.

#include <cstdint>
#include <vector>

#include "render/random_seed.h"
#include "render/render_settings.h"
#include "render/synth_kernels.h"

namespace lumetra {

struct SineTable;

struct SliceSetup {
    const synth::Kernels* kernels = nullptr;
    const SineTable* sine = nullptr;
    RandomSeed* seed = nullptr;
    std::int32_t samplesPerPixel = 0;
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

    // Adds one sounding row; advances its phase and noise state.
    void addRow(const RowPixels& pixels, std::uint32_t& phase, std::uint32_t increment,
                NoiseState& noise);
    // Writes channels * s values and clears the accumulators.
    void finish(std::int16_t* out);

  private:
    template <class T>
    using Buffer = std::vector<T>;

    void addToneRow(const RowPixels& pixels, std::uint32_t& phase, std::uint32_t increment);
    void addNoisyRow(const RowPixels& pixels, std::uint32_t& phase, std::uint32_t increment,
                     NoiseState& noise);
    synth::Amplitude amplitude(std::int32_t start, std::int32_t end, Buffer<double>& ramp);

    SliceSetup setup_;
    std::int32_t s_;
    Buffer<float> left_, right_;
    Buffer<double> rampRed_, rampGreen_, rampBlue_;
    Buffer<std::int32_t> levels_;
    Buffer<std::uint32_t> modPhases_;
    Buffer<double> displacement_;
    Buffer<std::int32_t> floors_, codes_;
    Buffer<std::uint32_t> phases_;
};

}  // namespace lumetra
