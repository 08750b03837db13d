#pragma once
// Everything a render needs, owned in one place for tests and benchmarks, plus picture makers.

#include <cstdint>
#include <memory>
#include <random>

#include "document/canvas_image.h"
#include "memory_file_system.h"
#include "recording_host.h"
#include "recording_ui.h"
#include "render/playback_sound.h"
#include "render/render_context.h"
#include "render/sine_table.h"
#include "render/wav_output.h"
#include "settable_clock.h"

namespace lumetra::testing {

struct RenderRig {
    // With `shared`, the rig renders with those workers (their path, helpers and threads).
    explicit RenderRig(RenderWorkers* shared = nullptr);
    RenderRig(const RenderRig&) = delete;
    RenderRig& operator=(const RenderRig&) = delete;

    RecordingHost host;
    RecordingUi ui;
    SettableClock clock;
    MemoryFileSystem files;
    std::unique_ptr<SineTable> sine = buildSineTable();
    RandomSeed seed;
    SoundOptions sound;
    OutputFormat format;
    SoundfileOptions soundfiles;
    SoundfileOutput soundfile{files};
    PlaybackSound playback;
    SoftSweepTable softSweep;
    RenderWorkers ownWorkers;
    RenderWorkers& workers;
    RenderContext context;
};

// A black picture of the given size with default render settings (and the given ones copied in).
ImageDocument makeDocument(std::int32_t width, std::int32_t height,
                           const RenderSettings& settings = RenderSettings{});

struct PictureRecipe {
    double litShare = 1.0;  // share of pixels that get colour at all
    bool red = true, green = true, blue = false;
    double blueShare = 1.0;  // share of lit pixels that also get blue
};

// Fills the picture with random colours by the recipe (deterministic for a seed).
void fillRandom(PixelImage& pixels, std::uint32_t seed, const PictureRecipe& recipe);

// A picture of random colours, blue included, without a selection.
CanvasImage randomCanvas(std::int32_t width, std::int32_t height, std::uint32_t seed,
                         const PictureRecipe& recipe = PictureRecipe{.blue = true});

}  // namespace lumetra::testing
