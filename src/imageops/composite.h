#pragma once
// Filters and overlays: another picture stretched onto the operation region and combined with
// it. As a filter each channel is scaled by the other picture's channel (a spectral and time
// envelope over the sound), blended by per-channel percentages; as an additive overlay the other
// picture's channels are added in; as an OR overlay every byte becomes itself OR the other's.

#include <cstdint>
#include <string>
#include <string_view>

#include "document/canvas_image.h"
#include "image/pixel_image.h"

namespace lumetra {

// The warning box of a failed filter or overlay: the failure's text under this caption.
inline constexpr std::string_view kCompositeCaption = "Error in filter operation";
// The other picture cannot be used (it is empty or its pixels do not match its size).
inline constexpr std::string_view kFilterPictureUnusableText = "Could not create new image";
// The OR overlay's stretch onto the region could not be done.
inline constexpr std::string_view kOverlayStretchFailedText = "Could not StretchBlit filter image";
// The filter picture could not be stretched to the region's size for the filter or addition.
inline constexpr std::string_view kStretchedFilterFailedText =
    "Could not create bmp for stretched filter image";

enum class CompositeKind { Filter, AdditiveOverlay, OrOverlay };

// Percentages 0 to 100 of the red, green and blue channels (others are taken as the nearer end).
struct ChannelPercentages {
    std::int32_t red = 100, green = 100, blue = 100;
    friend bool operator==(const ChannelPercentages&, const ChannelPercentages&) = default;
};

struct CompositeOptions {
    CompositeKind kind = CompositeKind::Filter;
    bool mirrorLeftRight = false;  // the other picture's left edge lands on the region's right
    bool turnUpsideDown = false;   // the other picture's top lands on the region's bottom
    ChannelPercentages percent;    // not used by the OR overlay
    friend bool operator==(const CompositeOptions&, const CompositeOptions&) = default;
};

// What the image browser's check boxes ("&L/R", "&Up/Dn") and sliders hold; all off and 0 when
// the browser window does not exist.
struct BrowserChoices {
    bool mirrorLeftRight = false;
    bool turnUpsideDown = false;
    ChannelPercentages percent{0, 0, 0};
};

inline constexpr int kFilterFromBrowserCommand = 208;
inline constexpr int kPasteAsFilterCommand = 209;
inline constexpr int kOverlayFromBrowserCommand = 210;
inline constexpr int kOverlayFromFileCommand = 211;
inline constexpr int kFilterFromFileCommand = 212;  // overlays with OR all the same, as 211

// The combination a command makes: 208 filters and 210 adds with the browser's flips and
// percentages, 209 (the clipboard) filters at 100 % without flips, and every other command
// overlays with OR, flipped as the browser says.
CompositeOptions compositeOptionsForCommand(int command, const BrowserChoices& browser);

struct CompositeResult {
    bool ok = false;
    std::string message;  // on failure: the text for the warning box under kCompositeCaption
};

// Combines `picture` (any size) stretched with the halftone stretch onto the operation region of
// `image`. On failure nothing has changed.
CompositeResult compositeImage(CanvasImage& image, const PixelImage& picture,
                               const CompositeOptions& options);

}  // namespace lumetra
