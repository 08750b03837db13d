#include "imageops/composite.h"

#include <algorithm>
#include <cstddef>

#include "image/stretch_halftone.h"
#include "imageops/picture_region.h"

namespace lumetra {
namespace {

// The three percentages in the order of the pixel bytes (blue, green, red), kept to 0 .. 100.
struct BytePercentages {
    unsigned p[3];
    explicit BytePercentages(const ChannelPercentages& percent)
        : p{unsigned(std::clamp(percent.blue, 0, 100)), unsigned(std::clamp(percent.green, 0, 100)),
            unsigned(std::clamp(percent.red, 0, 100))} {}
};

void filterRow(std::uint8_t* c, const std::uint8_t* f, std::size_t pixels,
               const BytePercentages& b) {
    for (std::size_t i = 0; i < pixels; ++i, c += 3, f += 3) {
        for (int k = 0; k < 3; ++k) {
            const unsigned q = (unsigned(f[k]) * c[k] + 128) / 255;
            c[k] = static_cast<std::uint8_t>((c[k] * (100 - b.p[k]) + q * b.p[k]) / 100);
        }
    }
}

void addRow(std::uint8_t* c, const std::uint8_t* f, std::size_t pixels, const BytePercentages& b) {
    for (std::size_t i = 0; i < pixels; ++i, c += 3, f += 3) {
        for (int k = 0; k < 3; ++k)
            c[k] = static_cast<std::uint8_t>(std::min(255u, c[k] + f[k] * b.p[k] / 100));
    }
}

// The filter and the addition: the picture is stretched once to exactly the region's size, and
// the region and that picture are then walked row by row side by side.
CompositeResult combine(PixelImage& pixels, const Rect& region, const PixelImage& picture,
                        const StretchRect& from, const CompositeOptions& options) {
    std::string message;
    auto stretched = createCanvasBitmap(region.width(), region.height(), message);
    if (!stretched ||
        !stretchHalftone(*stretched, {0, 0, region.width(), region.height()}, picture, from))
        return {false, std::string(kStretchedFilterFailedText)};
    const BytePercentages percent(options.percent);
    const std::size_t count = std::size_t(region.width());
    for (std::int32_t y = region.top; y < region.bottom; ++y) {
        std::uint8_t* row = pixels.pictureRow(y) + 3 * std::size_t(region.left);
        const std::uint8_t* other = stretched->pictureRow(y - region.top);
        if (options.kind == CompositeKind::Filter)
            filterRow(row, other, count, percent);
        else
            addRow(row, other, count, percent);
    }
    return {true, {}};
}

}  // namespace

CompositeOptions compositeOptionsForCommand(int command, const BrowserChoices& browser) {
    if (command == kPasteAsFilterCommand) return CompositeOptions{};
    CompositeOptions options;
    options.mirrorLeftRight = browser.mirrorLeftRight;
    options.turnUpsideDown = browser.turnUpsideDown;
    options.percent = browser.percent;
    options.kind = command == kFilterFromBrowserCommand    ? CompositeKind::Filter
                   : command == kOverlayFromBrowserCommand ? CompositeKind::AdditiveOverlay
                                                           : CompositeKind::OrOverlay;
    return options;
}

CompositeResult compositeImage(CanvasImage& image, const PixelImage& picture,
                               const CompositeOptions& options) {
    if (!wellFormed(picture)) return {false, std::string(kFilterPictureUnusableText)};
    StretchRect from{0, 0, picture.width, picture.height};
    if (options.mirrorLeftRight) from = {picture.width - 1, from.y, -picture.width, from.height};
    if (options.turnUpsideDown) from = {from.x, picture.height - 1, from.width, -picture.height};
    const Rect region = clippedOperationRegion(image);
    if (options.kind != CompositeKind::OrOverlay)
        return combine(image.pixels, region, picture, from, options);
    const StretchRect to{region.left, region.top, region.width(), region.height()};
    if (!stretchHalftone(image.pixels, to, picture, from, StretchRaster::Or))
        return {false, std::string(kOverlayStretchFailedText)};
    return {true, {}};
}

}  // namespace lumetra
