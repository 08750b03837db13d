// The slices of the production renderer made alone and with helper threads: always the same
// values, phases, noise states and seed, however the threads happen to share the stages.

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <stdexcept>
#include <vector>

#include "render/oscillators.h"
#include "render/render_engine.h"
#include "render/render_helpers.h"
#include "render/sine_table.h"
#include "render/slice_pipeline.h"

namespace lumetra {
namespace {

struct Made {
    std::vector<std::int16_t> values;
    std::vector<std::uint32_t> phases;
    std::vector<std::int32_t> modIncs;
    std::uint32_t seed = 0;
    bool operator==(const Made&) const = default;
};

// Columns of random pixels; waitAll() after every `chunk` columns, as the engine does when a
// chunk of values is full. Rows of blue come and go, so rows switch between noisy and plain.
// With `stopAt`, an error leaves the pipeline in the middle of that column's slice.
Made makeColumns(RenderHelpers* helpers, bool stereo, bool softSweeps, int chunk, int stopAt = -1) {
    const auto sine = buildSineTable();
    RenderSettings settings;
    settings.samplesPerPixel = 366;
    SoundOptions sound;
    sound.stereo = stereo ? 1 : 0;
    prepareOscillators(settings, sound);
    std::vector<float> weights(366);
    for (std::size_t k = 0; k < weights.size(); ++k)
        weights[k] = 0.5f + 0.001f * static_cast<float>(k);
    Made made;
    made.phases.assign(static_cast<std::size_t>(settings.height), 0);
    RandomSeed seed;
    SliceSetup setup{.kernels = &synth::sse2Kernels(),
                     .sine = sine.get(),
                     .seed = &seed,
                     .helpers = helpers,
                     .phases = made.phases.data(),
                     .samplesPerPixel = settings.samplesPerPixel,
                     .rows = settings.height,
                     .stereo = stereo,
                     .withBlue = true,
                     .softWeights = softSweeps ? weights.data() : nullptr,
                     .d0 = 300.0f * settings.samplesPerPixel};
    std::mt19937 random(4);
    std::uniform_int_distribution<int> value(0, 255);
    const int channels = stereo ? 2 : 1;
    const std::size_t columnValues = static_cast<std::size_t>(channels * 366);
    std::vector<std::int16_t> values(columnValues * static_cast<std::size_t>(chunk));
    {
        SlicePipeline slices(setup);
        for (int column = 0; column < 24; ++column) {
            const std::size_t at = static_cast<std::size_t>(column % chunk) * columnValues;
            slices.beginSlice(values.data() + at);
            for (int r = column % 3; r < settings.height; r += 2) {
                const int blue = value(random) < 128 ? 0 : value(random);
                const RowPixels px{blue,          value(random),
                                   value(random), value(random) % 2 * blue,
                                   value(random), value(random)};
                slices.addRow(px, r, settings.rowIncrements[r], settings.noiseStates[r]);
            }
            if (column == stopAt) throw std::runtime_error("stop");
            slices.endSlice();
            if (column % chunk == chunk - 1) {
                slices.waitAll();
                made.values.insert(made.values.end(), values.begin(), values.end());
            }
        }
    }
    for (const NoiseState& noise : settings.noiseStates)
        made.modIncs.push_back(noise.modInc);
    made.seed = seed.value;
    return made;
}

TEST(SlicePipeline, SameValuesPhasesAndNoiseWithOrWithoutHelpers) {
    RenderHelpers one(1), three(3);
    for (const bool stereo : {true, false})
        for (const bool soft : {false, true}) {
            const Made alone = makeColumns(nullptr, stereo, soft, 4);
            ASSERT_EQ(alone.values.size(), std::size_t{24} * (stereo ? 2 : 1) * 366);
            // The helpers are used render after render, with chunks of other sizes.
            for (const int chunk : {4, 1, 3, 8})
                for (RenderHelpers* helpers : {&one, &three})
                    EXPECT_EQ(makeColumns(helpers, stereo, soft, chunk), alone)
                        << stereo << soft << chunk << helpers->threads();
        }
}

// A pipeline left early (an error in the middle of a render) still finishes what it was given
// and lets the helpers go, so that the next render can use them.
TEST(SlicePipeline, LeftInTheMiddleOfASlice) {
    RenderHelpers helpers(1);
    EXPECT_THROW(makeColumns(&helpers, true, false, 4, 2), std::runtime_error);
    EXPECT_EQ(makeColumns(&helpers, true, false, 4), makeColumns(nullptr, true, false, 4));
}

TEST(RenderHelpers, EveryHelperRunsTheWorkOncePerStart) {
    for (int count : {0, 1, 3}) {
        RenderHelpers helpers(count);
        ASSERT_EQ(helpers.threads(), count + 1);
        for (int round = 0; round < 50; ++round) {
            std::vector<std::atomic<int>> ran(static_cast<std::size_t>(count + 1));
            helpers.start([&](int thread) { ran[static_cast<std::size_t>(thread)].fetch_add(1); });
            helpers.finish();
            EXPECT_EQ(ran[0].load(), 0);
            for (int t = 1; t <= count; ++t)
                ASSERT_EQ(ran[static_cast<std::size_t>(t)].load(), 1) << count << " " << t;
        }
    }
}

}  // namespace
}  // namespace lumetra
