#pragma once
// The ".info" text file written beside a saved image: a readable account of the image's last
// render, which is read back when the image is opened again (its PARMS, SIZE and SEL lines).

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "render/render_info.h"
#include "render/render_settings.h"

namespace lumetra {

struct CanvasImage;

// Line ends of the ".info" file are those of the platform's text files; the reader takes both.
#ifdef _WIN32
inline constexpr std::string_view kInfoLineEnd = "\r\n";
#else
inline constexpr std::string_view kInfoLineEnd = "\n";
#endif

// The ".info" file of an image: the image's file name with its extension replaced by ".info".
std::filesystem::path renderInfoFileName(const std::filesystem::path& imagePath);

// Month names as the ".info" file prints them; an empty name outside 1 .. 12.
std::string_view monthName(std::uint16_t month);

// The text of the ".info" file with "\n" line ends. A render record prints `settings` (the
// image's current settings) in its PARMS line, an analysis record its own four numbers.
std::string formatRenderInfoText(const RenderInfoRecord& record, const RenderSettings& settings);

// Writes the ".info" file of `image` beside `imagePath`. False (and the old file untouched) when it
// cannot be written.
bool writeRenderInfoFile(FileSystem& files, const CanvasImage& image,
                         const std::filesystem::path& imagePath);

// Which lines of a ".info" text were accepted.
enum RenderInfoLines : std::uint32_t {
    kParmsAccepted = 1,
    kSizeAccepted = 2,
    kSelAccepted = 4,
};

struct RenderInfoText {
    RenderInfoRecord record;     // the numbers of the last PARMS, SIZE and SEL lines
    std::uint32_t accepted = 0;  // RenderInfoLines of those lines
};

// Reads a ".info" text for a picture of the given size.
RenderInfoText parseRenderInfoText(std::string_view text, std::int32_t width, std::int32_t height);

// A text counts when both its PARMS and SIZE lines were accepted: then it becomes the image's
// render record and its SEL rectangle (when accepted) the selection, else the selection is
// cleared. Otherwise the image is left alone. True when the text counted.
bool adoptRenderInfoText(CanvasImage& image, const RenderInfoText& text);

// Reads the ".info" file of the image at `imagePath` into `image` (see adoptRenderInfoText).
bool readRenderInfoFile(FileSystem& files, CanvasImage& image,
                        const std::filesystem::path& imagePath);

}  // namespace lumetra
