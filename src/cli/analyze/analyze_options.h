#pragma once
// The command line of lumetra-analyze.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "analysis/sound_analysis.h"

namespace lumetra {

inline constexpr std::string_view kAnalyzeUsageText =
    "Usage: lumetra-analyze [options] INPUT.wav OUTPUT.bmp\n"
    "  --low HZ    pitch of the bottom row (default 50)\n"
    "  --high HZ   pitch of the top row (default 8000)\n"
    "  --rows N    rows between them (default 24 per octave)\n"
    "  --pps N     columns per second (default 100)\n";

struct AnalyzeOptions {
    AnalysisGrid grid;
    std::filesystem::path input, output;
    bool help = false;
};

// Reads the arguments (without the program name). nullopt with a message for anything wrong.
std::optional<AnalyzeOptions> parseAnalyzeOptions(std::span<const std::string> args,
                                                  std::string& message);

}  // namespace lumetra
