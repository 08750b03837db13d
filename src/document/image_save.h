#pragma once
// Saving pictures: uncompressed 24-bit BMP files, optionally with the image's render record
// appended behind the pixels (the file-size field never counts it, so other programs ignore it).

#include <cstdint>
#include <filesystem>
#include <vector>

#include "base/file_system.h"
#include "document/canvas_image.h"

namespace lumetra {

// The whole file in memory: headers, pixels and, when `attachRenderInfo` is on and the image's
// record is valid, the 164-byte record.
std::vector<std::uint8_t> encodeBmpFile(const CanvasImage& image, bool attachRenderInfo);

// Writes `image` as a 24-bit BMP file into `pending` and moves that over `target` (see
// writeAndReplace); the record is appended as encodeBmpFile does. False for an empty picture.
bool writeBmpFile(FileSystem& files, const CanvasImage& image, const std::filesystem::path& pending,
                  const std::filesystem::path& target, bool attachRenderInfo);

// Saves `image` as a 24-bit BMP file. The file is written beside `path` and replaces it only when
// complete, so a failed save leaves the previous file as it was. With a valid render record, a
// ".info" file is written too when `refreshInfo` is on, and the record is appended when
// `attachRenderInfo` is on. False when the picture file could not be written.
bool saveImageBmp(FileSystem& files, const CanvasImage& image, const std::filesystem::path& path,
                  bool refreshInfo, bool attachRenderInfo);

}  // namespace lumetra
