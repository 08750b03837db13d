#include "cli/render/batch_render.h"

#include <ostream>

#include "base/clock.h"
#include "base/file_io.h"
#include "cli/picture_input.h"
#include "cli/render/batch_host.h"
#include "cli/render/batch_options.h"
#include "cli/tool_messages.h"
#include "document/document_render.h"
#include "render/oscillators.h"
#include "render/playback_sound.h"
#include "render/render_engine.h"
#include "render/sine_table.h"
#include "render/soundfile_naming.h"

namespace lumetra {
namespace {

constexpr const char* kTool = "lumetra-render";

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

// The render streams into the output file as it goes (written beside it, moved over it when
// complete): no whole sound is ever held in memory.
int render(BatchProgram& p, ImageDocument& document, const BatchOptions& options, std::ostream& out,
           std::ostream& err) {
    BatchHost host(options.output);
    BatchUserInterface ui(out, err);
    RenderContext context{host,        ui,         p.clock,     p.files,      *p.sine,
                          p.seed,      p.sound,    p.format,    p.soundfiles, {},
                          p.soundfile, p.playback, p.softSweep, p.workers};
    updateOutputFormat(p.format, p.sound);
    if (!openSoundfile(ui, p.soundfile, options.output, p.format)) {
        err << "Could not write " << utf8FromPath(options.output) << ": " << systemReason(p.files)
            << '\n';
        return kBatchFailed;
    }
    p.playback.memoryLimitValues = 0;  // the sound goes to the file only
    const int rendered = renderDocument(context, document, options.command);
    const bool open = p.soundfile.isOpen();
    closeSoundfile(p.soundfile, 0);  // a refused render leaves nothing behind
    if (rendered != 1 || open) {
        err << (ui.lastMessage().empty() ? "The render did not complete" : ui.lastMessage())
            << '\n';
        return kBatchFailed;
    }
    // A file of 10 values or fewer is not kept.
    if (p.soundfile.valuesWritten() <= 10) {
        err << "The render made no sound to write\n";
        return kBatchFailed;
    }
    out << "Wrote " << utf8FromPath(options.output) << '\n';
    return kBatchOk;
}

// The render time the picture brings (its render info) is held to the range --time has.
bool timeInRange(const BatchOptions& options, const CanvasImage& image, std::ostream& err) {
    const double time = image.settings.outputTime;
    if (options.outputTime || (time >= kShortestBatchTime && time <= kLongestBatchTime))
        return true;
    err << "The render time of " << utf8FromPath(options.input) << "'s render info, " << time
        << " seconds, is outside " << kBatchTimeRange << " (--time sets another)\n";
    return false;
}

int batchRender(std::span<const std::string> args, FileSystem& files, std::ostream& out,
                std::ostream& err) {
    TaggedLines tagged(err, std::string(kTool) + ": ");
    std::string message;
    const std::optional<BatchOptions> options = parseBatchOptions(args, message);
    if (!options) {
        tagged << message << '\n';
        err << kBatchUsageText;
        return kBatchBadUsage;
    }
    if (options->help) {
        out << kBatchUsageText;
        return kBatchOk;
    }
    if (sameFile(files, options->input, options->output)) {
        tagged << "OUTPUT " << utf8FromPath(options->output)
               << " is the input picture: the sound needs a file of its own\n";
        return kBatchBadUsage;
    }
    auto program = std::make_unique<BatchProgram>(files);
    if (!program->sine) {
        tagged << kSineTableMemoryText << '\n';
        return kBatchFailed;
    }
    program->sound.sampleRate = options->sampleRate;
    program->sound.stereo = options->mono ? 0 : 1;
    program->soundfiles.saveSoundEveryRender = 0;  // the one output file is opened here
    // As in the program: the canvas starts with prepared default settings, and the picture
    // opened into it is prepared again before the render prepares it once more.
    auto document = std::make_unique<ImageDocument>();
    prepareOscillators(document->current.settings, program->sound);
    if (!openPicture(files, *document, options->input, out, tagged)) return kBatchFailed;
    if (!timeInRange(*options, document->current, tagged)) return kBatchFailed;
    if (!applyBatchOptions(*options, document->current, message)) {
        tagged << message << '\n';
        return kBatchBadUsage;
    }
    prepareOscillators(document->current.settings, program->sound);
    return render(*program, *document, *options, out, tagged);
}

}  // namespace

int runBatchRender(std::span<const std::string> args, FileSystem& files, std::ostream& out,
                   std::ostream& err) {
    return runGuarded(kTool, err, [&] { return batchRender(args, files, out, err); });
}

}  // namespace lumetra
