// libFuzzer target: the image browser's thumbnails of BMP files, which read the rows straight from
// the file or through the decoder, at the browser's own limits. Built and run by scripts/fuzz.sh
// (with -malloc_limit_mb, like the other targets at real limits).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

#include "browser/thumbnail.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<lumetra::PixelImage> thumbnail =
        lumetra::thumbnailFromBmp(std::span<const std::uint8_t>(data, size));
    if (thumbnail &&
        (!lumetra::wellFormed(*thumbnail) || thumbnail->width != lumetra::kThumbnailWidth ||
         thumbnail->height != lumetra::kThumbnailHeight))
        std::abort();
    return 0;
}
