// libFuzzer target: the packed-DIB decoder (pictures from the clipboard) on any bytes. Built and
// run by scripts/fuzz.sh.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "fuzz_limits.h"
#include "image/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const lumetra::BmpReadResult result =
        lumetra::decodeDib(std::span<const std::uint8_t>(data, size), lumetra::fuzz::kPixelBytes);
    if (result.pixels) {
        const lumetra::PixelImage& p = *result.pixels;
        if (!lumetra::wellFormed(p) || !lumetra::pictureSizeAccepted(p.width, p.height) ||
            result.pixelDataEnd > size)
            std::abort();
    } else if (result.message.empty()) {
        std::abort();
    }
    return 0;
}
