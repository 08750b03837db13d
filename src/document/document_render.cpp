#include "document/document_render.h"

#include "render/render_engine.h"

namespace lumetra {

RenderPicture renderPicture(ImageDocument& document) {
    CanvasImage& image = document.current;
    return RenderPicture{image.pixels, image.selection, image.settings, image.renderInfo,
                         document.displayName};
}

int renderDocument(RenderContext& context, ImageDocument& document, int command) {
    return renderImage(context, renderPicture(document), command);
}

void recordRender(CanvasImage& image, std::int32_t command, double elapsedSeconds,
                  const LocalTime& now) {
    image.renderInfo = makeRenderRecord(image.pixels.width, image.pixels.height, image.settings,
                                        image.selection, command, elapsedSeconds, now);
}

}  // namespace lumetra
