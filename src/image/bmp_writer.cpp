#include "image/bmp_writer.h"

#include <algorithm>
#include <span>

#include "image/little_endian.h"
#include "render/render_info_file.h"
#include "shell/file_io.h"

namespace lumetra {
namespace {

std::uint32_t pixelBytes(const PixelImage& pixels) {
    return static_cast<std::uint32_t>(rowStride(pixels.width) * pixels.height);
}

bool attachesRecord(const CanvasImage& image, bool attachRenderInfo) {
    return attachRenderInfo && image.renderInfo.valid != 0;
}

}  // namespace

std::array<std::uint8_t, kBmpHeaderBytes> encodeBmpHeader(const PixelImage& pixels) {
    std::array<std::uint8_t, kBmpHeaderBytes> header{};
    std::span<std::uint8_t> h(header);
    const std::uint32_t size = pixelBytes(pixels);
    h[0] = 'B';
    h[1] = 'M';
    le::writeU32(h, 2, size + kBmpHeaderBytes);
    le::writeU32(h, 10, kBmpHeaderBytes);
    le::writeU32(h, 14, 40);
    le::writeI32(h, 18, pixels.width);
    le::writeI32(h, 22, pixels.height);
    le::writeU16(h, 26, 1);
    le::writeU16(h, 28, 24);
    le::writeU32(h, 34, size);
    return header;
}

std::vector<std::uint8_t> encodeBmpFile(const CanvasImage& image, bool attachRenderInfo) {
    const auto header = encodeBmpHeader(image.pixels);
    const bool attach = attachesRecord(image, attachRenderInfo);
    std::vector<std::uint8_t> file(header.size() + image.pixels.bytes.size() +
                                   (attach ? RenderInfoRecord::kBytes : 0));
    auto at = std::copy(header.begin(), header.end(), file.begin());
    at = std::copy(image.pixels.bytes.begin(), image.pixels.bytes.end(), at);
    if (attach) {
        const RenderInfoBytes record = encodeRenderInfo(image.renderInfo);
        std::copy(record.begin(), record.end(), at);
    }
    return file;
}

bool saveImageBmp(const CanvasImage& image, const std::filesystem::path& path, bool refreshInfo,
                  bool attachRenderInfo) {
    const PixelImage& pixels = image.pixels;
    if (pixels.empty() || pixels.bytes.size() != pixelBytes(pixels)) return false;
    const auto header = encodeBmpHeader(pixels);
    const RenderInfoBytes record = encodeRenderInfo(image.renderInfo);
    const std::span<const std::uint8_t> trailer = attachesRecord(image, attachRenderInfo)
                                                      ? std::span<const std::uint8_t>(record)
                                                      : std::span<const std::uint8_t>();
    if (!replaceFileWith(path, {header, pixels.bytes, trailer})) return false;
    // The ".info" file follows a successful save only; when it cannot be written the picture
    // is saved all the same.
    if (refreshInfo && image.renderInfo.valid != 0) writeRenderInfoFile(image, path);
    return true;
}

}  // namespace lumetra
