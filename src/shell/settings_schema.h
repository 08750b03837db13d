#pragma once
// The persisted settings' names and word layouts: the string-table ids and texts of every stored
// value, the packed "Output buffers", "Render options" and "Program options" words, and the
// thousandths form of the pitch, time and amplitude values.

#include <cstdint>
#include <string_view>

#include "shell/shell_options.h"

namespace lumetra {

struct RenderSettings;
struct SoundOptions;

namespace setting {
// Keys.
inline constexpr int kBaseKey = 3012;
// Values directly under the base key, in load and save order.
inline constexpr int kImageWidth = 3004;
inline constexpr int kImageHeight = 3005;
inline constexpr int kOutputBuffers = 3026;
inline constexpr int kSampleRate = 3027;
inline constexpr int kOutputDevice = 3015;
inline constexpr int kRenderOptions = 3028;
inline constexpr int kProgramOptions = 3035;
inline constexpr int kOutputTime = 3006;
inline constexpr int kPitchLow = 3007;
inline constexpr int kPitchHigh = 3008;
inline constexpr int kOutputAmp = 3009;
inline constexpr int kBrushPatches = 3036;
inline constexpr int kEchordPatches = 3037;
inline constexpr int kRandPhase = 3010;  // names no stored value
// "Windows\" subkey, in order.
inline constexpr int kMainX = 3016;
inline constexpr int kMainY = 3017;
inline constexpr int kMainWidth = 3018;
inline constexpr int kMainHeight = 3019;
inline constexpr int kMainShow = 3024;
inline constexpr int kBrushX = 3020;
inline constexpr int kBrushY = 3021;
inline constexpr int kBrushShow = 3043;
inline constexpr int kEchordX = 3022;
inline constexpr int kEchordY = 3023;
inline constexpr int kEchordShow = 3042;
inline constexpr int kRenderX = 3038;
inline constexpr int kRenderY = 3039;
inline constexpr int kRenderShow = 3041;
inline constexpr int kBrowserX = 3031;
inline constexpr int kBrowserY = 3032;
inline constexpr int kBrowserWidth = 3033;
inline constexpr int kBrowserBottom = 3034;
inline constexpr int kBrowserShow = 3040;
// "Directories\" subkey, in order.
inline constexpr int kImageFolder = 3013;
inline constexpr int kFilterFolder = 3014;
inline constexpr int kSoundfileFolder = 3029;
inline constexpr int kAnalysesFolder = 3030;
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
