// libFuzzer target: the ".info" text reader. The first two bytes give the picture's width and
// height, the rest is the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/canvas_image.h"
#include "document/render_info_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    lumetra::CanvasImage image;
    image.pixels.width = data[0];
    image.pixels.height = data[1];
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    const lumetra::RenderInfoText read =
        lumetra::parseRenderInfoText(text, image.pixels.width, image.pixels.height);
    if (lumetra::adoptRenderInfoText(image, read)) {
        const lumetra::RenderInfoRecord& r = image.renderInfo;
        if (!(r.lowFrequency > 0 && r.highFrequency > r.lowFrequency && r.ampFactor > 0 &&
              r.outputTime > 0 && r.width == data[0] && r.height == data[1]))
            std::abort();
        const lumetra::Rect& s = image.selection;
        if (!s.empty() && (s.left < 0 || s.top < 0 || s.right > data[0] || s.bottom > data[1]))
            std::abort();
        // What is adopted can be written out again.
        (void)lumetra::formatRenderInfoText(r, image.settings);
    }
    return 0;
}
