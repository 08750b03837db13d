#include "cli/render/batch_options.h"

#include <algorithm>

#include "base/file_io.h"
#include "cli/command_line.h"
#include "cli/picture_input.h"
#include "render/sound_options.h"

namespace lumetra {
namespace {

// One option with its value (when it takes one) at args[i]; i moves past what was used.
bool readOption(std::span<const std::string> args, std::size_t& i, BatchOptions& o,
                std::string& message) {
    const std::string& name = args[i];
    if (name == "--mono") return o.mono = true;
    if (name == "--soft-sweeps") return o.softSweeps = true;
    if (name == "--help" || name == "-h") return o.help = true;
    constexpr std::string_view kValued[] = {"--command", "--selection",      "--rate",
                                            "--low",     "--high",           "--amp",
                                            "--time",    "--noise-bandwidth"};
    if (std::find(std::begin(kValued), std::end(kValued), name) == std::end(kValued))
        return refuse(message, "Unknown option " + name);
    if (i + 1 >= args.size()) return refuse(message, "Option " + name + " needs a value");
    const std::string& text = args[++i];
    const std::string bad = "Bad value for " + name + ": " + text;
    double number = 0;
    if (name == "--command") {
        if (!readNumber(text, o.command) || o.command < 300 || o.command > 303)
            return refuse(message, bad + " (300, 301, 302 or 303)");
    } else if (name == "--selection") {
        Rect rect;
        if (!readRect(text, rect)) return refuse(message, bad + " (L,T,R,B)");
        o.selection = rect;
    } else if (name == "--rate") {
        if (!readNumber(text, o.sampleRate) ||
            std::find(kSampleRates.begin(), kSampleRates.end(), o.sampleRate) == kSampleRates.end())
            return refuse(message, bad + " (48000, 44100, 32000, 22050, 16000, 11025 or 8000)");
    } else if (name == "--noise-bandwidth") {
        if (!readNumber(text, o.noiseBandwidth) || o.noiseBandwidth < 0 || o.noiseBandwidth > 15)
            return refuse(message, bad + " (0 to 15)");
    } else if (name == "--amp") {
        if (!readNumber(text, number) || number < kSmallestBatchAmp || number > kLargestBatchAmp)
            return refuse(message, bad + " (0.001 to 1000)");
        o.ampFactor = number;
    } else if (name == "--time") {
        if (!readNumber(text, number) || number < kShortestBatchTime || number > kLongestBatchTime)
            return refuse(message, bad + " (" + std::string(kBatchTimeRange) + ")");
        o.outputTime = number;
    } else {
        if (!readNumber(text, number) || number <= 0)
            return refuse(message, bad + " (a number above 0)");
        if (name == "--low") o.lowFrequency = number;
        if (name == "--high") o.highFrequency = number;
    }
    return true;
}

}  // namespace

std::optional<BatchOptions> parseBatchOptions(std::span<const std::string> args,
                                              std::string& message) {
    BatchOptions o;
    std::vector<std::string> files;
    const auto option = [&](std::size_t& i) { return readOption(args, i, o, message) && !o.help; };
    if (!splitArguments(args, option, files))
        return o.help ? std::optional<BatchOptions>(o) : std::nullopt;
    if (!twoFileNames(files, "INPUT.bmp or OUTPUT.wav", message)) return std::nullopt;
    o.input = pathFromUtf8(files[0]);
    o.output = pathFromUtf8(files[1]);
    return o;
}

bool applyBatchOptions(const BatchOptions& o, CanvasImage& image, std::string& message) {
    RenderSettings& s = image.settings;
    if (o.lowFrequency) s.lowFrequency = *o.lowFrequency;
    if (o.highFrequency) s.highFrequency = *o.highFrequency;
    if (o.ampFactor) s.ampFactor = *o.ampFactor;
    if (o.outputTime) s.outputTime = *o.outputTime;
    if (!(s.highFrequency > s.lowFrequency))
        return refuse(message, "The high pitch must lie above the low pitch");
    if (o.softSweeps) s.softSweeps = 1;
    s.noiseBandwidth = o.noiseBandwidth;
    if (o.selection && !applySelection(image, *o.selection, message)) return false;
    const bool selectionCommand = o.command == 301 || o.command == 303;
    if (selectionCommand && image.selection.empty())
        return refuse(message, "--command " + std::to_string(o.command) +
                                   " renders the selection: give one with --selection L,T,R,B");
    return true;
}

}  // namespace lumetra
