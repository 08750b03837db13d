#include "document/image_save.h"

#include <algorithm>
#include <span>

#include "base/file_io.h"
#include "document/render_info_file.h"
#include "image/bmp_writer.h"

namespace lumetra {
namespace {

bool attachesRecord(const CanvasImage& image, bool attachRenderInfo) {
    return attachRenderInfo && image.renderInfo.valid != 0;
}

}  // namespace

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

bool writeBmpFile(FileSystem& files, const CanvasImage& image, const std::filesystem::path& pending,
                  const std::filesystem::path& target, bool attachRenderInfo) {
    const PixelImage& pixels = image.pixels;
    if (pixels.empty() ||
        pixels.bytes.size() != std::size_t(rowStride(pixels.width) * pixels.height))
        return false;
    const auto header = encodeBmpHeader(pixels);
    const RenderInfoBytes record = encodeRenderInfo(image.renderInfo);
    const std::span<const std::uint8_t> trailer = attachesRecord(image, attachRenderInfo)
                                                      ? std::span<const std::uint8_t>(record)
                                                      : std::span<const std::uint8_t>();
    return writeAndReplace(files, pending, target, {header, pixels.bytes, trailer});
}

bool saveImageBmp(FileSystem& files, const CanvasImage& image, const std::filesystem::path& path,
                  bool refreshInfo, bool attachRenderInfo) {
    if (!writeBmpFile(files, image, pendingFileName(path), path, attachRenderInfo)) return false;
    // The ".info" file follows a successful save only; when it cannot be written the picture
    // is saved all the same.
    if (refreshInfo && image.renderInfo.valid != 0) writeRenderInfoFile(files, image, path);
    return true;
}

}  // namespace lumetra
