#pragma once
// The command line of lumetra-render.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "document/canvas_image.h"

namespace lumetra {

// The render times the tool accepts, from --time or from the picture's render info.
inline constexpr double kShortestBatchTime = 0.5;
inline constexpr double kLongestBatchTime = 9000;
inline constexpr std::string_view kBatchTimeRange = "0.5 to 9000 seconds";
// The amp factors --amp accepts.
inline constexpr double kSmallestBatchAmp = 0.001;
inline constexpr double kLargestBatchAmp = 1000;

inline constexpr std::string_view kBatchUsageText =
    "Usage: lumetra-render [options] INPUT.bmp OUTPUT.wav\n"
    "  --command N          what to render: 300 the picture (default), 301 the selection,\n"
    "                       302 the picture without blue, 303 the selection without blue\n"
    "  --selection L,T,R,B  the selection (picture coordinates, right and bottom exclusive);\n"
    "                       301 and 303 need one, here or in the picture's render info\n"
    "  --rate HZ            sample rate: 48000, 44100, 32000, 22050 (default), 16000, 11025 or "
    "8000\n"
    "  --mono               one channel (default stereo)\n"
    "  --low HZ --high HZ   override the picture's pitch range (numbers above 0, low below high)\n"
    "  --amp X              override the picture's amp factor (0.001 to 1000)\n"
    "  --time S             override the picture's render time (0.5 to 9000 seconds)\n"
    "  --soft-sweeps        soft envelope sweeps\n"
    "  --noise-bandwidth N  0 to 15 (default 15)\n";

struct BatchOptions {
    std::int32_t command = 300;
    std::optional<Rect> selection;
    std::int32_t sampleRate = 22050;
    bool mono = false;
    std::optional<double> lowFrequency, highFrequency, ampFactor, outputTime;
    bool softSweeps = false;
    std::int32_t noiseBandwidth = 15;
    std::filesystem::path input, output;
    bool help = false;
};

// Reads the arguments (without the program name). nullopt with a message for anything wrong.
std::optional<BatchOptions> parseBatchOptions(std::span<const std::string> args,
                                              std::string& message);

// Applies the options to the image's render settings and selection, checking them against the
// picture. False with a message when they do not fit it.
bool applyBatchOptions(const BatchOptions& options, CanvasImage& image, std::string& message);

}  // namespace lumetra
