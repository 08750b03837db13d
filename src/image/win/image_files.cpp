#include "image/win/image_files.h"

#include <string>
#include <utility>

#include "image/win/picture_loader.h"
#include "shell/win/message_boxes.h"
#include "shell/win/text.h"

namespace lumetra::win {

bool loadImageFile(CanvasImage& target, const std::filesystem::path& path, bool report) {
    std::wstring failure;
    auto pixels = loadPictureFile(path, failure);
    if (!pixels) {
        if (report) {
            std::wstring name = path.wstring();
            showWarning(formatText(399, L"Could not open %ls", name.c_str()),
                        L"Error reading bitmap file");
        }
        return false;
    }
    target.renderInfo.valid = 0;
    adoptPixels(target, std::move(*pixels));
    return true;
}

// The BMP writer joins the program with the image-file core; until then a save writes nothing.
bool saveImageBmp(CanvasImage&, const std::filesystem::path&, bool) {
    return false;
}

}  // namespace lumetra::win
