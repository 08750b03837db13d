// libFuzzer target: the record appended to BMP files, found behind the declared size.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "document/render_info_trailer.h"
#include "fuzz_limits.h"
#include "image/bmp_reader.h"
#include "render/render_info.h"

namespace {

void checkTrailer(std::span<const std::uint8_t> file, std::uint64_t pixelDataEnd) {
    const lumetra::RenderInfoTrailer t = lumetra::findRenderInfoTrailer(file, pixelDataEnd);
    if (t.kind == lumetra::TrailerKind::None) return;
    // A record is only taken from behind the pixels.
    if (t.declaredSize < pixelDataEnd || t.declaredSize + 150 >= file.size()) std::abort();
    if (t.kind == lumetra::TrailerKind::Found &&
        (!t.record.hasMagic() || t.record.version != 101 || t.record.valid != 1))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const lumetra::BmpReadResult bmp = lumetra::decodeBmp(file, lumetra::fuzz::kPixelBytes);
    if (bmp.pixels) checkTrailer(file, bmp.pixelDataEnd);
    checkTrailer(file, 0);
    // The record's byte form reads back to the same bytes.
    const auto head = file.first(std::min<std::size_t>(size, lumetra::RenderInfoRecord::kBytes));
    const lumetra::RenderInfoBytes bytes =
        lumetra::encodeRenderInfo(lumetra::decodeRenderInfo(head));
    if (!std::equal(head.begin(), head.end(), bytes.begin())) std::abort();
    return 0;
}
