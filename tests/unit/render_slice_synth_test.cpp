// One slice of the production renderer made alone, with helper threads, and with helpers that
// are present but paused: always the same values.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render/frame_workers.h"
#include "render/oscillators.h"
#include "render/render_engine.h"
#include "render/sine_table.h"
#include "render/slice_synth.h"

namespace lumetra {
namespace {

std::vector<std::int16_t> renderColumns(FrameWorkers* workers, bool stereo, bool withBlue) {
    const auto sine = buildSineTable();
    RenderSettings settings;
    settings.samplesPerPixel = 366;
    SoundOptions sound;
    sound.stereo = stereo ? 1 : 0;
    prepareOscillators(settings, sound);
    RandomSeed seed;
    SliceSetup setup;
    setup.kernels = &synth::sse2Kernels();
    setup.sine = sine.get();
    setup.seed = &seed;
    setup.workers = workers;
    setup.samplesPerPixel = settings.samplesPerPixel;
    setup.rows = settings.height;
    setup.stereo = stereo;
    setup.withBlue = withBlue;
    setup.d0 = 300.0f * settings.samplesPerPixel;
    SliceSynth slice(setup);
    std::vector<std::uint32_t> phases(static_cast<std::size_t>(settings.height), 0);
    std::mt19937 random(4);
    std::uniform_int_distribution<int> value(0, 255);
    const int channels = stereo ? 2 : 1;
    std::vector<std::int16_t> out;
    for (int column = 0; column < 6; ++column) {
        for (int r = 0; r < settings.height; r += 2) {
            const RowPixels px{value(random), value(random), value(random),
                               value(random), value(random), value(random)};
            slice.addRow(px, phases[static_cast<std::size_t>(r)], settings.rowIncrements[r],
                         settings.noiseStates[r]);
        }
        std::vector<std::int16_t> values(static_cast<std::size_t>(channels * 366));
        slice.finish(values.data());
        out.insert(out.end(), values.begin(), values.end());
    }
    return out;
}

TEST(SliceSynth, SameSliceWithOrWithoutHelpers) {
    for (const bool stereo : {true, false}) {
        const auto alone = renderColumns(nullptr, stereo, true);
        FrameWorkers helpers(2);
        EXPECT_EQ(renderColumns(&helpers, stereo, true), alone);
        helpers.pauseHelpers(1000);
        EXPECT_FALSE(helpers.helping());
        EXPECT_EQ(renderColumns(&helpers, stereo, true), alone);
    }
}

}  // namespace
}  // namespace lumetra
