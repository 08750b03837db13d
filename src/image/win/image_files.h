#pragma once
// Loading a picture file into an image and saving an image as a BMP file, with the render info
// that travels with it.

#include <filesystem>

#include "document/canvas_image.h"
#include "document/image_save.h"

namespace lumetra::win {

// Loads `path` into `target` (its pixels, settings size and selection; the render info of the
// file when there is one). On failure the target keeps its picture and, with `report`, the
// warning "Could not open %s" appears under "Error reading bitmap file".
bool loadImageFile(CanvasImage& target, const std::filesystem::path& path, bool report);

// Writes the image as a 24-bit BMP file (with its ".info" file when `refreshInfo` is set and
// the image has render info, and the appended record when "Attach Render Info" is on).
bool saveImageBmp(CanvasImage& image, const std::filesystem::path& path, bool refreshInfo);

}  // namespace lumetra::win
