#include "image/win/image_files.h"
#include "document/image_save.h"

#include <string>
#include <utility>

#include "image/bmp_writer.h"
#include "document/image_file.h"
#include "image/win/picture_loader.h"
#include "document/render_info_trailer.h"
#include "shell/win/app_state.h"
#include "base/win/long_paths.h"
#include "shell/win/message_boxes.h"
#include "shell/win/status_bar.h"
#include "base/win/text.h"
#include "base/win/utf16.h"

namespace lumetra::win {

namespace {

// Paths beyond MAX_PATH reach the file calls in their extended-length form.
std::filesystem::path apiPath(const std::filesystem::path& path) {
    return std::filesystem::path(toApiPath(toUtf8(path.native())));
}

}  // namespace

bool loadImageFile(CanvasImage& target, const std::filesystem::path& path, bool report) {
    std::wstring failure;
    auto pixels = loadPictureFile(apiPath(path), failure);
    if (!pixels) {
        if (report) {
            std::wstring name = path.wstring();
            showWarning(formatText(399, L"Could not open %ls", name.c_str()),
                        L"Error reading bitmap file");
        }
        return false;
    }
    adoptPixels(target, std::move(*pixels));
    target.renderInfo.valid = 0;
    // The render info travels behind the pixels of a BMP file or in the ".info" file beside it.
    if (readImageRenderInfo(target, apiPath(path))) {
        adoptRenderInfoSettings(target);
        setStatusText(0, L"Render info updated by image");
    }
    return true;
}

bool saveImageBmp(CanvasImage& image, const std::filesystem::path& path, bool refreshInfo) {
    return lumetra::saveImageBmp(image, apiPath(path), refreshInfo,
                                 appState().options.attachRenderInfo != 0);
}

}  // namespace lumetra::win
