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

inline constexpr std::string_view kBatchUsageText =
    "Usage: lumetra-render [options] INPUT.bmp OUTPUT.wav\n"
    "  --command N          300 (default), 301, 302 or 303: render the picture, the selection,\n"
    "                       the picture without blue, the selection without blue\n"
    "  --selection L,T,R,B  the selection (picture coordinates, right and bottom exclusive)\n"
    "  --rate HZ            sample rate: 48000, 44100, 32000, 22050 (default), 16000, 11025 or "
    "8000\n"
    "  --mono               one channel (default stereo)\n"
    "  --low HZ --high HZ --amp X --time S   override the picture's render settings\n"
    "  --soft-sweeps        soft envelope sweeps\n"
    "  --noise-bandwidth N  0..15 (default 15)\n";

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
