#pragma once
// Loading a picture file into an image through the platform's picture loader, and saving an
// image as a BMP file, with the render info that travels with it.

#include <filesystem>
#include <optional>

#include "base/file_system.h"
#include "base/user_interface.h"
#include "document/canvas_image.h"

namespace lumetra::win {

// The pixels of a picture file, 24-bit, without its render info (a filter or overlay takes only
// the pixels). On failure, with `report`, the warning "Could not open %s" appears under "Error
// reading bitmap file".
std::optional<PixelImage> loadPicturePixels(const std::filesystem::path& path, UserInterface& ui,
                                            bool report);

// Loads `path` into `target` (its pixels, settings size and selection; the render info of the
// file when there is one, which the status bar then reports). On failure the target keeps its
// picture but not its render info (a later save must not write a record of another load), and,
// with `report`, the warning "Could not open %s" appears under "Error reading bitmap file".
bool loadImageFile(FileSystem& files, CanvasImage& target, const std::filesystem::path& path,
                   UserInterface& ui, bool report);

// Writes the image as a 24-bit BMP file (with its ".info" file when `refreshInfo` is set and
// the image has render info, and the appended record when `attachRenderInfo` is on).
bool saveImageBmp(FileSystem& files, const CanvasImage& image, const std::filesystem::path& path,
                  bool refreshInfo, bool attachRenderInfo);

}  // namespace lumetra::win
