// libFuzzer target: the BMP decoder on any bytes. Built and run by scripts/fuzz.sh.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "fuzz_limits.h"
#include "image/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A small memory limit keeps the quick target fast; the real variant decodes at the tools'
    // limits (fuzz_limits.h).
    const lumetra::BmpReadResult result =
        lumetra::decodeBmp(std::span<const std::uint8_t>(data, size), lumetra::fuzz::kPixelBytes);
    if (result.pixels) {
        const lumetra::PixelImage& p = *result.pixels;
        if (!lumetra::pictureSizeAccepted(p.width, p.height) ||
            p.stride != lumetra::rowStride(p.width) ||
            p.bytes.size() != std::size_t(p.stride) * std::size_t(p.height) ||
            result.pixelDataEnd > size)
            std::abort();
    } else if (result.message.empty()) {
        std::abort();
    }
    return 0;
}
