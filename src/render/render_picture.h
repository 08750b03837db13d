#pragma once
// What a render reads of a picture and which of its records it changes. The document layer makes
// one for the image being edited; the render engine knows nothing of documents.

#include <string>

#include "image/pixel_image.h"
#include "image/rect.h"
#include "render/render_info.h"
#include "render/render_settings.h"

namespace lumetra {

struct RenderPicture {
    const PixelImage& pixels;
    Rect selection;                  // picture coordinates; empty when nothing is selected
    RenderSettings& settings;        // the row phases and noise states advance in a render
    RenderInfoRecord& renderInfo;    // replaced after a complete render
    const std::string& displayName;  // names the soundfile; empty for a new picture
};

}  // namespace lumetra
