#include "cli/analyze/analyze_options.h"

#include <vector>

#include "base/file_io.h"
#include "cli/command_line.h"

namespace lumetra {
namespace {

// One option with its value at args[i]; i moves past what was used.
bool readOption(std::span<const std::string> args, std::size_t& i, AnalyzeOptions& o,
                std::string& message) {
    const std::string& name = args[i];
    if (name == "--help" || name == "-h") return o.help = true;
    if (name != "--low" && name != "--high" && name != "--rows" && name != "--pps")
        return refuse(message, "Unknown option " + name);
    if (i + 1 >= args.size()) return refuse(message, "Option " + name + " needs a value");
    const std::string& text = args[++i];
    const std::string bad = "Bad value for " + name + ": " + text;
    if (name == "--rows") {
        if (!readNumber(text, o.grid.rows) || o.grid.rows < 2 || o.grid.rows > kMostPictureSide)
            return refuse(message, bad + " (2 to 65535)");
    } else if (name == "--pps") {
        if (!readNumber(text, o.grid.columnsPerSecond) || o.grid.columnsPerSecond < 1 ||
            o.grid.columnsPerSecond > 10000)
            return refuse(message, bad + " (1 to 10000)");
    } else {
        double hz = 0;
        if (!readNumber(text, hz) || hz <= 0) return refuse(message, bad + " (a number above 0)");
        (name == "--low" ? o.grid.lowFrequency : o.grid.highFrequency) = hz;
    }
    return true;
}

}  // namespace

std::optional<AnalyzeOptions> parseAnalyzeOptions(std::span<const std::string> args,
                                                  std::string& message) {
    AnalyzeOptions o;
    std::vector<std::string> files;
    const auto option = [&](std::size_t& i) { return readOption(args, i, o, message) && !o.help; };
    if (!splitArguments(args, option, files))
        return o.help ? std::optional<AnalyzeOptions>(o) : std::nullopt;
    if (!twoFileNames(files, "INPUT.wav or OUTPUT.bmp", message)) return std::nullopt;
    if (!(o.grid.highFrequency > o.grid.lowFrequency)) {
        message = "The high pitch must lie above the low pitch";
        return std::nullopt;
    }
    o.input = pathFromUtf8(files[0]);
    o.output = pathFromUtf8(files[1]);
    return o;
}

}  // namespace lumetra
