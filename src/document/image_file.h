#pragma once
// Opening a BMP file into an image without the platform's picture loader: the batch renderer's
// and the tests' way in. The picture is decoded by our own BMP reader and its render info (the
// appended record, else the ".info" file) restores the image's render settings.

#include <filesystem>
#include <string>

#include "base/file_system.h"
#include "document/canvas_image.h"

namespace lumetra {

struct ImageLoadResult {
    bool ok = false;
    std::string message;  // on failure: "Could not open %s" with the path
    std::string detail;   // on failure: what was wrong with the file
    bool renderInfoUpdated = false;
    std::string status;  // "Render info updated by image" when the render info was adopted
};

// The low and high pitch, amp factor and time of the image's record become its settings.
void adoptRenderInfoSettings(CanvasImage& image);

// Loads the BMP file at `path` into `target`: new pixels, empty selection, settings sized to the
// picture, render record cleared, then the file's render info adopted when there is one. On
// failure the target keeps its pixels, selection and settings, but its render record's valid
// word becomes 0.
ImageLoadResult loadImageFileCore(FileSystem& files, CanvasImage& target,
                                  const std::filesystem::path& path);

}  // namespace lumetra
