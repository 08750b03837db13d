#pragma once
// The persisted settings' names and word layouts: the string-table ids (from the resource ids)
// and texts (the resource script's own, as a test checks) of every stored value, the packed
// "Output buffers", "Render options" and "Program options" words, and the thousandths form of
// the pitch, time and amplitude values.

#include <cstdint>
#include <string_view>

#include "resources/resource_ids.h"
#include "shell/shell_options.h"

namespace lumetra {

struct RenderSettings;
struct SoundOptions;

namespace setting {
// Keys.
inline constexpr int kBaseKey = IDS_SETTINGS_KEY;
// Values directly under the base key, in load and save order.
inline constexpr int kImageWidth = IDS_VALUE_IMAGE_WIDTH;
inline constexpr int kImageHeight = IDS_VALUE_IMAGE_HEIGHT;
inline constexpr int kOutputBuffers = IDS_VALUE_OUTPUT_BUFFERS;
inline constexpr int kSampleRate = IDS_VALUE_OUTPUT_SAMPLE_RATE;
inline constexpr int kOutputDevice = IDS_VALUE_OUTPUT_DEVICE;
inline constexpr int kRenderOptions = IDS_VALUE_RENDER_OPTIONS;
inline constexpr int kProgramOptions = IDS_VALUE_PROGRAM_OPTIONS;
inline constexpr int kOutputTime = IDS_VALUE_OUTPUT_TIME;
inline constexpr int kPitchLow = IDS_VALUE_PITCH_LOW;
inline constexpr int kPitchHigh = IDS_VALUE_PITCH_HIGH;
inline constexpr int kOutputAmp = IDS_VALUE_OUTPUT_AMP;
inline constexpr int kBrushPatches = IDS_VALUE_PATCHES_BRUSH;
inline constexpr int kEchordPatches = IDS_VALUE_PATCHES_ECHORD;
inline constexpr int kRandPhase = IDS_VALUE_RAND_PHASE;  // names no stored value
// "Windows\" subkey, in order.
inline constexpr int kMainX = IDS_VALUE_MAIN_X;
inline constexpr int kMainY = IDS_VALUE_MAIN_Y;
inline constexpr int kMainWidth = IDS_VALUE_MAIN_W;
inline constexpr int kMainHeight = IDS_VALUE_MAIN_H;
inline constexpr int kMainShow = IDS_VALUE_MAIN_CMDSHOW;
inline constexpr int kBrushX = IDS_VALUE_BRUSH_X;
inline constexpr int kBrushY = IDS_VALUE_BRUSH_Y;
inline constexpr int kBrushShow = IDS_VALUE_BRUSH_SHOW;
inline constexpr int kEchordX = IDS_VALUE_ECHORD_X;
inline constexpr int kEchordY = IDS_VALUE_ECHORD_Y;
inline constexpr int kEchordShow = IDS_VALUE_ECHORD_SHOW;
inline constexpr int kRenderX = IDS_VALUE_RNDR_X;
inline constexpr int kRenderY = IDS_VALUE_RNDR_Y;
inline constexpr int kRenderShow = IDS_VALUE_RNDR_SHOW;
inline constexpr int kBrowserX = IDS_VALUE_IMGBR_X;
inline constexpr int kBrowserY = IDS_VALUE_IMGBR_Y;
inline constexpr int kBrowserWidth = IDS_VALUE_IMGBR_W;
inline constexpr int kBrowserBottom = IDS_VALUE_IMGBR_H;
inline constexpr int kBrowserShow = IDS_VALUE_IMGBR_SHOW;
inline constexpr int kCanvasZoom = IDS_VALUE_CANVAS_ZOOM;
inline constexpr int kCanvasRulers = IDS_VALUE_CANVAS_RULERS;
// "Directories\" subkey, in order.
inline constexpr int kImageFolder = IDS_VALUE_DIR_IMAGE;
inline constexpr int kFilterFolder = IDS_VALUE_DIR_FILTER;
inline constexpr int kSoundfileFolder = IDS_VALUE_DIR_SOUNDFILE;
inline constexpr int kAnalysesFolder = IDS_VALUE_DIR_ANALYSED;
}  // namespace setting

// The string-table text of a settings id ("main.x", "Output sample rate", ...); empty for ids
// that are not settings names. The resource script's string table holds the same texts.
std::string_view settingName(int id);

// Names longer than this are cut by the string-table lookup; every name above fits.
inline constexpr std::size_t kMaxSettingNameLength = 39;

inline constexpr std::string_view kWindowsKey = "Windows\\";
inline constexpr std::string_view kDirectoriesKey = "Directories\\";
inline constexpr std::string_view kRecentFilesKey = "RecentFiles";

// "Output buffers": count in bits 24..31, size in bits 0..22.
inline constexpr std::uint32_t kDefaultOutputBuffers = 0x08001000;
std::uint32_t packOutputBuffers(const SoundOptions& sound);
// Takes count and size from the word. A count outside 3..16 or a size that is not one of the
// seven buffer sizes would stall or starve the playback ring, so such a word gives the defaults.
void unpackOutputBuffers(std::uint32_t word, SoundOptions& sound);

// "Render options": the flag word of the shell, render and undo options.
inline constexpr std::uint32_t kDefaultRenderOptions = 0x4A0001EA;
struct RenderOptionFields {
    std::int32_t numberSoundfiles = 0;          // bit 0
    std::int32_t saveSoundEveryRender = 1;      // bit 1
    std::int32_t soundfileNamedAfterImage = 0;  // bit 2
    std::int32_t stereo = 1;                    // bit 3
    std::int32_t softSweeps = 0;                // bit 4
    std::int32_t noiseBandwidth = 15;           // bits 5..8
    std::int32_t soundfileCounter = 0;          // bits 9..15
    std::int32_t undoLimit = 10;                // bits 24..29
    std::int32_t selectionStyle = 1;            // bits 30..31
};
std::uint32_t packRenderOptions(const RenderOptionFields& fields);
// Unpacks and applies the load rules: stereo is always 1, selection style 3 becomes 1, an undo
// limit of 0 becomes 10.
RenderOptionFields unpackRenderOptions(std::uint32_t word);
RenderOptionFields gatherRenderOptions(const ShellOptions& shell, const RenderSettings& render,
                                       const SoundOptions& sound);
// Spreads the fields into the records and sets the selection drawing flags (style | outline).
void spreadRenderOptions(const RenderOptionFields& fields, ShellOptions& shell,
                         RenderSettings& render, SoundOptions& sound);

// "Program options": bit 2 = attach render info.
inline constexpr std::uint32_t kDefaultProgramOptions = 3;
std::uint32_t packProgramOptions(const ShellOptions& shell);
void unpackProgramOptions(std::uint32_t word, ShellOptions& shell);

// Thousandths: the stored word is unsigned; saving truncates toward zero (values that do not fit
// a word are clamped into it). Every word survives a load and a save unchanged.
double fromThousandths(std::uint32_t word);
std::uint32_t toThousandths(double value);

// Default image sizes and their load rule (stored values below 10 give the default).
inline constexpr std::int32_t kDefaultImageWidth = 300;
inline constexpr std::int32_t kDefaultImageHeight = 150;
inline constexpr std::int32_t kDefaultSampleRate = 22050;

}  // namespace lumetra
