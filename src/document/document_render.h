#pragma once
// Rendering the picture of a document: the engine reads the current image and writes its render
// record; the soundfile is named after the document.

#include <cstdint>

#include "base/local_time.h"
#include "document/canvas_image.h"
#include "render/render_context.h"
#include "render/render_picture.h"

namespace lumetra {

// The render's view of the document's current image.
RenderPicture renderPicture(ImageDocument& document);

// Renders the document's current image by command 300..303 (see the engine's renderImage).
int renderDocument(RenderContext& context, ImageDocument& document, int command);

// Records a complete render of `image` by `command` that took `elapsedSeconds`.
void recordRender(CanvasImage& image, std::int32_t command, double elapsedSeconds,
                  const LocalTime& now);

}  // namespace lumetra
