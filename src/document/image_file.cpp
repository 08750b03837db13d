#include "document/image_file.h"

#include <vector>

#include "base/file_io.h"
#include "document/render_info_trailer.h"
#include "image/bmp_reader.h"

namespace lumetra {

void adoptRenderInfoSettings(CanvasImage& image) {
    image.settings.lowFrequency = image.renderInfo.lowFrequency;
    image.settings.highFrequency = image.renderInfo.highFrequency;
    image.settings.ampFactor = image.renderInfo.ampFactor;
    image.settings.outputTime = image.renderInfo.outputTime;
}

ImageLoadResult loadImageFileCore(FileSystem& files, CanvasImage& target,
                                  const std::filesystem::path& path) {
    ImageLoadResult result;
    std::vector<std::uint8_t> file;
    // A 32-bit file of the largest picture we take is a third larger than its 24-bit pixels.
    const bool read =
        readWholeFile(files, path, file, result.detail, std::uintmax_t(kMaxPixelBytes) * 2);
    BmpReadResult bmp;
    if (read) bmp = decodeBmp(file);
    if (!bmp.pixels) {
        if (read) result.detail = bmp.message;
        result.message = "Could not open " + utf8FromPath(path);
        // The picture stays, but its record is no longer known to belong to what the user has:
        // a later save must not write it out again.
        target.renderInfo.valid = 0;
        return result;
    }
    adoptPixels(target, std::move(*bmp.pixels));
    target.renderInfo.valid = 0;
    if (readImageRenderInfo(files, target, path, file, bmp.pixelDataEnd)) {
        adoptRenderInfoSettings(target);
        result.renderInfoUpdated = true;
        result.status = "Render info updated by image";
    }
    result.ok = true;
    return result;
}

}  // namespace lumetra
