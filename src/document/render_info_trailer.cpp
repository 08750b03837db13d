#include "document/render_info_trailer.h"

#include <algorithm>
#include <vector>

#include "base/file_io.h"
#include "base/little_endian.h"
#include "document/canvas_image.h"
#include "document/render_info_file.h"
#include "image/bmp_reader.h"

namespace lumetra {
namespace {

// Trailers of this many bytes or fewer are not examined.
constexpr std::uint64_t kMinTrailerBytes = 150;

}  // namespace

RenderInfoTrailer findRenderInfoTrailer(std::span<const std::uint8_t> file,
                                        std::uint64_t pixelDataEnd) {
    RenderInfoTrailer trailer;
    if (file.size() < 14 || file[0] != 'B' || file[1] != 'M') return trailer;
    const std::uint64_t declared = le::readU32(file, 2);
    if (declared > file.size() || file.size() - declared <= kMinTrailerBytes) return trailer;
    if (declared < pixelDataEnd) return trailer;
    const std::uint64_t length =
        std::min<std::uint64_t>(file.size() - declared, RenderInfoRecord::kBytes);
    const RenderInfoRecord record = decodeRenderInfo(
        file.subspan(static_cast<std::size_t>(declared), static_cast<std::size_t>(length)));
    if (!record.hasMagic()) return trailer;
    trailer.declaredSize = declared;
    if (record.version == RenderInfoRecord::kVersion && record.valid == 1) {
        trailer.kind = TrailerKind::Found;
        trailer.record = record;
    } else {
        trailer.kind = TrailerKind::Stale;
    }
    return trailer;
}

bool readImageRenderInfo(FileSystem& files, CanvasImage& image, const std::filesystem::path& path,
                         std::span<const std::uint8_t> file, std::uint64_t pixelDataEnd) {
    const RenderInfoTrailer trailer = findRenderInfoTrailer(file, pixelDataEnd);
    // A record whose numbers cannot be rendered (a damaged file) is passed over, not adopted.
    if (trailer.kind == TrailerKind::Found && hasUsableRenderNumbers(trailer.record)) {
        image.renderInfo = trailer.record;
        return true;
    }
    // Reading never writes: a record of another version or valid word (a newer program's, or a
    // damaged one) stays in the file and is ignored; the next Save writes the picture without it.
    return readRenderInfoFile(files, image, path);
}

bool readImageRenderInfo(FileSystem& files, CanvasImage& image, const std::filesystem::path& path) {
    std::vector<std::uint8_t> file;
    std::string message;
    if (readWholeFile(files, path, file, message, std::uintmax_t(kMaxPixelBytes) * 2)) {
        const BmpReadResult bmp = decodeBmp(file);
        if (bmp.pixels) return readImageRenderInfo(files, image, path, file, bmp.pixelDataEnd);
    }
    return readRenderInfoFile(files, image, path);
}

}  // namespace lumetra
