#include "browser/thumbnail_file.h"

#include <cstdint>
#include <vector>

#include "browser/thumbnail.h"

namespace lumetra {

std::optional<PixelImage> thumbnailOfFile(FileSystem& files, const std::filesystem::path& file,
                                          const PictureDecoder& platformDecoder) {
    std::vector<std::uint8_t> bytes;
    if (files.read(file, bytes, kLargestThumbnailFile) == ReadOutcome::Read && bytes.size() >= 2 &&
        bytes[0] == 'B' && bytes[1] == 'M') {
        if (auto thumbnail = thumbnailFromBmp(bytes)) return thumbnail;
    }
    bytes = {};
    if (!platformDecoder) return std::nullopt;
    const std::optional<PixelImage> picture = platformDecoder(file);
    if (!picture) return std::nullopt;
    return makeThumbnail(*picture);
}

}  // namespace lumetra
