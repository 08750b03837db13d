#pragma once
// The render record appended behind the pixels of a BMP file, and the reading of an opened
// image's render info: the appended record first, else the ".info" file.

#include <cstdint>
#include <filesystem>
#include <span>

#include "base/file_system.h"
#include "render/render_info.h"

namespace lumetra {

struct CanvasImage;

// What lies behind the declared size of a BMP file.
enum class TrailerKind {
    None,   // nothing to look at: 150 or fewer bytes, or no "rdnr" mark
    Found,  // a record of version 101 with its valid word 1
    Stale,  // an "rdnr" record of another version or valid word: ignored (never cut off)
};

struct RenderInfoTrailer {
    TrailerKind kind = TrailerKind::None;
    RenderInfoRecord record;         // the record read when Found
    std::uint64_t declaredSize = 0;  // the file-size field: where the record starts
};

// Looks for a record in a BMP file held in memory: at the declared size S when the file is more
// than 150 bytes longer than that. `pixelDataEnd` is the end of the file's pixel data; a declared
// size inside the pixels is ignored, so that a wrong size field can never cost the picture.
RenderInfoTrailer findRenderInfoTrailer(std::span<const std::uint8_t> file,
                                        std::uint64_t pixelDataEnd);

// Reads the render info of the image opened from `path`, whose bytes and pixel-data end are
// given: the appended record (a stale one, or one whose numbers cannot be rendered, is passed
// over; the file is never written), else the ".info" file. True when
// a record was found; it is then the image's record (the ".info" file may also set the
// selection). Otherwise the image is unchanged.
bool readImageRenderInfo(FileSystem& files, CanvasImage& image, const std::filesystem::path& path,
                         std::span<const std::uint8_t> file, std::uint64_t pixelDataEnd);

// The same for an image opened by another loader: the file is read again here.
bool readImageRenderInfo(FileSystem& files, CanvasImage& image, const std::filesystem::path& path);

}  // namespace lumetra
