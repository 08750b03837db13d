#pragma once
// The thumbnail of one picture file: BMP files through the program's own reader, every other
// kind (and a BMP the reader refuses) through the platform's picture loader, which the caller
// hands in.

#include <filesystem>
#include <functional>
#include <optional>

#include "base/file_system.h"
#include "image/pixel_image.h"

namespace lumetra {

// The platform's loader of GIF, JPEG, EMF, WMF and icon files; nothing when it cannot load.
using PictureDecoder = std::function<std::optional<PixelImage>(const std::filesystem::path&)>;

// Files above this size are left to the platform's loader rather than read whole.
inline constexpr std::uintmax_t kLargestThumbnailFile = std::uintmax_t{1} << 30;

// Nothing when neither can load the file (a file that fails gets no thumbnail and no message).
std::optional<PixelImage> thumbnailOfFile(FileSystem& files, const std::filesystem::path& file,
                                          const PictureDecoder& platformDecoder);

}  // namespace lumetra
