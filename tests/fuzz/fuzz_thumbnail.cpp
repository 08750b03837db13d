// libFuzzer target: the image browser's thumbnails of BMP files, which read the rows straight from
// the file or through the decoder. Built and run by scripts/fuzz.sh. The quick target passes on
// only pictures within the small limit of fuzz_limits.h, so that it runs fast; the real variant
// hands every file to the browser at its own limits (with -malloc_limit_mb).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>

#include "browser/thumbnail.h"
#include "fuzz_limits.h"
#include "image/bmp_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Every shrink path shows on pictures of a few thousand pixels; the sums cost per pixel.
    std::string message;
    if (lumetra::fuzz::kPixelBytes < lumetra::kMaxPixelBytes &&
        !lumetra::readBmpLayout(std::span<const std::uint8_t>(data, size),
                                lumetra::fuzz::kPixelBytes / 16, message))
        return 0;
    const std::optional<lumetra::PixelImage> thumbnail =
        lumetra::thumbnailFromBmp(std::span<const std::uint8_t>(data, size));
    if (thumbnail &&
        (!lumetra::wellFormed(*thumbnail) || thumbnail->width != lumetra::kThumbnailWidth ||
         thumbnail->height != lumetra::kThumbnailHeight))
        std::abort();
    return 0;
}
