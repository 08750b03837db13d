#pragma once
// The picture being edited together with its selection, render record and render settings, and
// the per-window document that holds it and its undo copy.

#include <cstdint>
#include <filesystem>
#include <string>

#include "image/pixel_image.h"
#include "image/rect.h"
#include "render/render_info.h"
#include "render/render_settings.h"

namespace lumetra {

struct CanvasImage {
    PixelImage pixels;
    Rect selection;  // empty = nothing selected; always inside the picture
    RenderInfoRecord renderInfo;
    RenderSettings settings;  // settings.width/height always follow the pixels
};

// The selection, or the whole picture when nothing is selected.
inline Rect operationRegion(const CanvasImage& image) {
    if (!image.selection.empty()) return image.selection;
    return Rect{0, 0, image.pixels.width, image.pixels.height};
}

struct ScrollState {
    std::int32_t position = 0;
    std::int32_t range = 0;
    std::int32_t page = 0;
};

struct ImageDocument {
    CanvasImage current;
    CanvasImage undo;
    ScrollState vertical;
    ScrollState horizontal;
    std::filesystem::path path;  // empty for a new image
    std::string displayName;     // UTF-8 file name shown in the title
};

// Replaces the picture of `image`: the settings follow its size and the selection is cleared.
inline void adoptPixels(CanvasImage& image, PixelImage pixels) {
    image.pixels = std::move(pixels);
    image.settings.width = image.pixels.width;
    image.settings.height = image.pixels.height;
    image.selection = Rect{};
}

}  // namespace lumetra
