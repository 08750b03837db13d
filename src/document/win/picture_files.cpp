#include "document/win/picture_files.h"

#include <string>
#include <utility>

#include "base/text_limits.h"
#include "base/win/long_paths.h"
#include "base/win/utf16.h"
#include "document/image_file.h"
#include "document/image_save.h"
#include "document/render_info_trailer.h"
#include "image/win/picture_loader.h"

namespace lumetra::win {
namespace {

// Paths beyond MAX_PATH reach the file calls in their extended-length form.
std::filesystem::path apiPath(const std::filesystem::path& path) {
    return std::filesystem::path(toApiPath(toUtf8(path.native())));
}

}  // namespace

std::optional<PixelImage> loadPicturePixels(const std::filesystem::path& path, UserInterface& ui,
                                            bool report) {
    std::wstring failure;
    auto pixels = loadPictureFile(apiPath(path), failure);
    if (!pixels && report) {
        // The program's message buffer holds 399 characters.
        ui.showWarning(truncateText("Could not open " + toUtf8(path.native()), 399),
                       "Error reading bitmap file");
    }
    return pixels;
}

bool loadImageFile(FileSystem& files, CanvasImage& target, const std::filesystem::path& path,
                   UserInterface& ui, bool report) {
    auto pixels = loadPicturePixels(path, ui, report);
    target.renderInfo.valid = 0;
    if (!pixels) return false;
    adoptPixels(target, std::move(*pixels));
    // The render info travels behind the pixels of a BMP file or in the ".info" file beside it.
    if (readImageRenderInfo(files, target, path)) {
        adoptRenderInfoSettings(target);
        ui.setStatusText(0, "Render info updated by image");
    }
    return true;
}

bool saveImageBmp(FileSystem& files, const CanvasImage& image, const std::filesystem::path& path,
                  bool refreshInfo, bool attachRenderInfo) {
    return lumetra::saveImageBmp(files, image, path, refreshInfo, attachRenderInfo);
}

}  // namespace lumetra::win
