#pragma once
// The platform's picture loader: BMP, GIF, JPEG, EMF and WMF files through OleLoadPicture,
// drawn into a new 24-bit picture.

#include <filesystem>
#include <optional>
#include <string>

#include "image/pixel_image.h"

namespace lumetra::win {

// The picture of the file, its size taken from the file's physical size at the screen's
// resolution. Nothing on failure; `failure` then holds why (not shown to the user).
std::optional<PixelImage> loadPictureFile(const std::filesystem::path& path, std::wstring& failure);

}  // namespace lumetra::win
