#pragma once
// Everything of the program that a render reads or changes, gathered by reference in one record.
// One RenderContext lives as long as the program (or the batch run): it carries the flags that
// keep a second render from starting inside the first.

#include <filesystem>
#include <vector>

#include "base/clock.h"
#include "base/file_system.h"
#include "base/user_interface.h"
#include "render/random_seed.h"
#include "render/render_host.h"
#include "render/render_workers.h"
#include "render/sound_options.h"
#include "render/soundfile_options.h"
#include "render/wav_output.h"

namespace lumetra {

struct SineTable;
struct PlaybackSound;
class SoundfileOutput;

// Cosine weights of one slice for soft envelope sweeps: s + 1 floats, kept between renders.
struct SoftSweepTable {
    std::vector<float> weights;
};

struct RenderContext {
    RenderHost& host;
    UserInterface& ui;
    Clock& clock;
    FileSystem& files;  // the soundfile's file system, which tells what went wrong
    const SineTable& sine;
    RandomSeed& seed;
    const SoundOptions& sound;
    OutputFormat& format;
    SoundfileOptions& soundfileOptions;
    std::filesystem::path soundfileFolder;
    SoundfileOutput& soundfile;
    PlaybackSound& playback;
    SoftSweepTable& softSweep;
    RenderWorkers& workers;
    // Set from the moment the output file is opened (or found not needed) to the end of the
    // render; the shell greys the sound options command while it is set.
    bool renderInProgress = false;
    // Set for the whole of renderImage; a render command arriving through the message pump
    // meanwhile is ignored.
    bool engineBusy = false;
};

}  // namespace lumetra
