#include "cli/analyze/batch_analyze.h"

#include <ostream>

#include "analysis/wav_reader.h"
#include "base/file_io.h"
#include "cli/analyze/analyze_options.h"
#include "document/image_save.h"

namespace lumetra {

int runBatchAnalyze(std::span<const std::string> args, FileSystem& files, std::ostream& out,
                    std::ostream& err) {
    std::string message;
    const std::optional<AnalyzeOptions> options = parseAnalyzeOptions(args, message);
    if (!options) {
        err << "lumetra-analyze: " << message << '\n' << kAnalyzeUsageText;
        return kBatchBadUsage;
    }
    if (options->help) {
        out << kAnalyzeUsageText;
        return kBatchOk;
    }
    Sound sound;
    if (!readWavFile(files, options->input, sound, message)) {
        err << message << '\n';
        return kBatchFailed;
    }
    const AnalysisGrid grid = completeGrid(options->grid);
    if (!checkAnalysisGrid(grid, sound.seconds(), message)) {
        err << "lumetra-analyze: " << message << '\n';
        return kBatchBadUsage;
    }
    CanvasImage picture;
    const std::string name = utf8FromPath(options->input.filename());
    if (analyseSound(sound, grid, name, picture, message) != AnalysisOutcome::Done) {
        err << message << '\n';
        return kBatchFailed;
    }
    out << "Analysed " << name << ": " << picture.pixels.width << " x " << picture.pixels.height
        << " pixels\n";
    // The record goes behind the pixels and into the ".info" file, as the program saves it.
    if (!saveImageBmp(files, picture, options->output, true, true)) {
        err << "Could not write " << utf8FromPath(options->output) << '\n';
        return kBatchFailed;
    }
    out << "Wrote " << utf8FromPath(options->output) << '\n';
    return kBatchOk;
}

}  // namespace lumetra
