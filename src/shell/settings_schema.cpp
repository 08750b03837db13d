#include "shell/settings_schema.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "render/render_settings.h"
#include "render/sound_options.h"

namespace lumetra {
namespace {

constexpr std::pair<int, std::string_view> kNames[] = {
    {setting::kBaseKey, "Software\\Velloforge\\Lumetra\\"},
    {setting::kImageWidth, "Image width"},
    {setting::kImageHeight, "Image height"},
    {setting::kOutputBuffers, "Output buffers"},
    {setting::kSampleRate, "Output sample rate"},
    {setting::kOutputDevice, "Output device"},
    {setting::kRenderOptions, "Render options"},
    {setting::kProgramOptions, "Program options"},
    {setting::kOutputTime, "Output time"},
    {setting::kPitchLow, "Pitch:Low"},
    {setting::kPitchHigh, "Pitch:High"},
    {setting::kOutputAmp, "Output amp"},
    {setting::kBrushPatches, "Patches: Brush"},
    {setting::kEchordPatches, "Patches: Echord"},
    {setting::kRandPhase, "Rand phase"},
    {setting::kMainX, "main.x"},
    {setting::kMainY, "main.y"},
    {setting::kMainWidth, "main.w"},
    {setting::kMainHeight, "main.h"},
    {setting::kMainShow, "main.cmdshow"},
    {setting::kBrushX, "brush.x"},
    {setting::kBrushY, "brush.y"},
    {setting::kBrushShow, "brush.show"},
    {setting::kEchordX, "echord.x"},
    {setting::kEchordY, "echord.y"},
    {setting::kEchordShow, "echord.show"},
    {setting::kRenderX, "rndr.x"},
    {setting::kRenderY, "rndr.y"},
    {setting::kRenderShow, "rndr.show"},
    {setting::kBrowserX, "imgbr.x"},
    {setting::kBrowserY, "imgbr.y"},
    {setting::kBrowserWidth, "imgbr.w"},
    {setting::kBrowserBottom, "imgbr.h"},
    {setting::kBrowserShow, "imgbr.show"},
    {setting::kCanvasZoom, "canvas.zoom"},
    {setting::kCanvasRulers, "canvas.rulers"},
    {setting::kImageFolder, "Image"},
    {setting::kFilterFolder, "Filter"},
    {setting::kSoundfileFolder, "Soundfile"},
    {setting::kAnalysesFolder, "Analysed sounds"},
};

bool isBufferSize(std::int32_t size) {
    for (std::int32_t s = 256; s <= 16384; s *= 2)
        if (size == s) return true;
    return false;
}

std::uint32_t bit(std::int32_t flag, int position) {
    return std::uint32_t(flag != 0) << position;
}

}  // namespace

std::string_view settingName(int id) {
    for (const auto& [key, name] : kNames)
        if (key == id) return name;
    return {};
}

std::uint32_t packOutputBuffers(const SoundOptions& sound) {
    return (std::uint32_t(sound.bufferCount) << 24) + (std::uint32_t(sound.bufferSize) & 0x7FFFFF);
}

void unpackOutputBuffers(std::uint32_t word, SoundOptions& sound) {
    std::int32_t count = std::int32_t(word >> 24);
    std::int32_t size = std::int32_t(word & 0x7FFFFF);
    if (count < 3 || count > 16 || !isBufferSize(size)) {
        count = std::int32_t(kDefaultOutputBuffers >> 24);
        size = std::int32_t(kDefaultOutputBuffers & 0x7FFFFF);
    }
    sound.bufferCount = count;
    sound.bufferSize = size;
}

std::uint32_t packRenderOptions(const RenderOptionFields& f) {
    return bit(f.numberSoundfiles, 0) | bit(f.saveSoundEveryRender, 1) |
           bit(f.soundfileNamedAfterImage, 2) | bit(f.stereo, 3) | bit(f.softSweeps, 4) |
           (std::uint32_t(f.noiseBandwidth) & 0xF) << 5 |
           (std::uint32_t(f.soundfileCounter) & 0x7F) << 9 |
           (std::uint32_t(f.undoLimit) & 0x3F) << 24 |
           (std::uint32_t(f.selectionStyle) & 0x3) << 30;
}

RenderOptionFields unpackRenderOptions(std::uint32_t word) {
    RenderOptionFields f;
    f.numberSoundfiles = std::int32_t(word & 1);
    f.saveSoundEveryRender = std::int32_t(word >> 1 & 1);
    f.soundfileNamedAfterImage = std::int32_t(word >> 2 & 1);
    f.stereo = 1;  // mono output is not offered any more, whatever an old setting says
    f.softSweeps = std::int32_t(word >> 4 & 1);
    f.noiseBandwidth = std::int32_t(word >> 5 & 0xF);
    f.soundfileCounter = std::int32_t(word >> 9 & 0x7F);
    f.undoLimit = std::int32_t(word >> 24 & 0x3F);
    if (f.undoLimit == 0) f.undoLimit = 10;
    f.selectionStyle = std::int32_t(word >> 30 & 0x3);
    if (f.selectionStyle == 3) f.selectionStyle = 1;
    return f;
}

RenderOptionFields gatherRenderOptions(const ShellOptions& shell, const RenderSettings& render,
                                       const SoundOptions& sound) {
    RenderOptionFields f;
    f.numberSoundfiles = shell.soundfile.numberSoundfiles;
    f.saveSoundEveryRender = shell.soundfile.saveSoundEveryRender;
    f.soundfileNamedAfterImage = shell.soundfile.soundfileNamedAfterImage;
    f.stereo = sound.stereo;
    f.softSweeps = render.softSweeps;
    f.noiseBandwidth = render.noiseBandwidth;
    f.soundfileCounter = shell.soundfile.soundfileCounter;
    f.undoLimit = shell.undoLimit;
    f.selectionStyle = static_cast<std::int32_t>(shell.selectionStyle);
    return f;
}

void spreadRenderOptions(const RenderOptionFields& f, ShellOptions& shell, RenderSettings& render,
                         SoundOptions& sound) {
    shell.soundfile.numberSoundfiles = f.numberSoundfiles;
    shell.soundfile.saveSoundEveryRender = f.saveSoundEveryRender;
    shell.soundfile.soundfileNamedAfterImage = f.soundfileNamedAfterImage;
    sound.stereo = f.stereo;
    render.softSweeps = f.softSweeps;
    render.noiseBandwidth = f.noiseBandwidth;
    shell.soundfile.soundfileCounter = f.soundfileCounter;
    shell.undoLimit = f.undoLimit;
    shell.selectionStyle = static_cast<SelectionStyle>(f.selectionStyle);
    shell.dragDecoration = f.selectionStyle | kDecorationOutline;
}

std::uint32_t packProgramOptions(const ShellOptions& shell) {
    return bit(shell.attachRenderInfo, 2);
}

void unpackProgramOptions(std::uint32_t word, ShellOptions& shell) {
    shell.attachRenderInfo = std::int32_t(word >> 2 & 1);
}

double fromThousandths(std::uint32_t word) {
    return double(word) / 1000.0;
}

std::uint32_t toThousandths(double value) {
    // Truncation toward zero, except that a product within rounding noise of a whole number is
    // that number: 1.001 is stored as 1001, not 1000, so that a loaded value saves unchanged and
    // does not creep down by a thousandth at every exit.
    const double product = value * 1000.0;
    const double nearest = std::round(product);
    const double noise = 1e-9 * std::max(1.0, std::fabs(nearest));
    const double scaled = std::fabs(product - nearest) <= noise ? nearest : std::trunc(product);
    if (!(scaled > 0.0)) return 0;  // also NaN
    if (scaled >= 4294967295.0) return 0xFFFFFFFFu;
    return std::uint32_t(scaled);
}

}  // namespace lumetra
