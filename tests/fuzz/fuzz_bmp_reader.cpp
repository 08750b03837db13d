// libFuzzer target: the BMP decoder on any bytes. Built and run by scripts/fuzz.sh.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "image/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A small memory limit keeps the fuzzer quick; the limit's own check is what is tested.
    const lumetra::BmpReadResult result =
        lumetra::decodeBmp(std::span<const std::uint8_t>(data, size), std::int64_t{1} << 20);
    if (result.pixels) {
        const lumetra::PixelImage& p = *result.pixels;
        if (p.width <= 0 || p.height <= 0 || p.stride != lumetra::rowStride(p.width) ||
            p.bytes.size() != std::size_t(p.stride) * std::size_t(p.height) ||
            result.pixelDataEnd > size)
            std::abort();
    } else if (result.message.empty()) {
        std::abort();
    }
    return 0;
}
