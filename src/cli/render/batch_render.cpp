#include "cli/render/batch_render.h"

#include <ostream>

#include "base/clock.h"
#include "base/file_io.h"
#include "cli/picture_input.h"
#include "cli/render/batch_host.h"
#include "cli/render/batch_options.h"
#include "document/document_render.h"
#include "render/oscillators.h"
#include "render/playback_sound.h"
#include "render/render_engine.h"
#include "render/sine_table.h"
#include "render/soundfile_naming.h"

namespace lumetra {
namespace {

// Everything a render needs that the program keeps for its whole run.
struct BatchProgram {
    explicit BatchProgram(FileSystem& fileSystem) : files(fileSystem) {}

    FileSystem& files;
    SystemClock clock;
    std::unique_ptr<SineTable> sine = buildSineTable();
    RandomSeed seed;  // at its start value, as in a freshly started program
    SoundOptions sound;
    OutputFormat format;
    SoundfileOptions soundfiles;
    SoundfileOutput soundfile{files};
    PlaybackSound playback;
    SoftSweepTable softSweep;
    RenderWorkers workers;
};

int render(BatchProgram& p, ImageDocument& document, const BatchOptions& options, std::ostream& out,
           std::ostream& err) {
    BatchHost host(options.output);
    BatchUserInterface ui(out, err);
    RenderContext context{host,        ui,         p.clock,     p.files,      *p.sine,
                          p.seed,      p.sound,    p.format,    p.soundfiles, {},
                          p.soundfile, p.playback, p.softSweep, p.workers};
    if (renderDocument(context, document, options.command) != 1) {
        err << (ui.lastMessage().empty() ? "The render did not complete" : ui.lastMessage())
            << '\n';
        return kBatchFailed;
    }
    // With too little memory for the sound the engine has written the file itself.
    if (p.soundfiles.saveSoundEveryRender) return kBatchOk;
    if (p.playback.length() <= 10) {
        err << "The render made no sound to write\n";
        return kBatchFailed;
    }
    if (writeSoundFile(context, options.output, p.playback) != 1) {
        err << "Could not write " << utf8FromPath(options.output) << '\n';
        return kBatchFailed;
    }
    out << "Wrote " << utf8FromPath(options.output) << '\n';
    return kBatchOk;
}

}  // namespace

int runBatchRender(std::span<const std::string> args, FileSystem& files, std::ostream& out,
                   std::ostream& err) {
    std::string message;
    const std::optional<BatchOptions> options = parseBatchOptions(args, message);
    if (!options) {
        err << "lumetra-render: " << message << '\n' << kBatchUsageText;
        return kBatchBadUsage;
    }
    if (options->help) {
        out << kBatchUsageText;
        return kBatchOk;
    }
    auto program = std::make_unique<BatchProgram>(files);
    if (!program->sine) {
        err << kSineTableMemoryText << '\n';
        return kBatchFailed;
    }
    program->sound.sampleRate = options->sampleRate;
    program->sound.stereo = options->mono ? 0 : 1;
    program->soundfiles.saveSoundEveryRender = 0;  // the sound is written once it is complete
    // As in the program: the canvas starts with prepared default settings, and the picture
    // opened into it is prepared again before the render prepares it once more.
    auto document = std::make_unique<ImageDocument>();
    prepareOscillators(document->current.settings, program->sound);
    if (!openPicture(files, *document, options->input, out, err)) return kBatchFailed;
    if (!applyBatchOptions(*options, document->current, message)) {
        err << "lumetra-render: " << message << '\n';
        return kBatchBadUsage;
    }
    prepareOscillators(document->current.settings, program->sound);
    return render(*program, *document, *options, out, err);
}

}  // namespace lumetra
