#include "cli/picture_input.h"

#include <ostream>

#include "base/file_io.h"
#include "document/image_file.h"

namespace lumetra {

bool openPicture(FileSystem& files, ImageDocument& document, const std::filesystem::path& path,
                 std::ostream& out, std::ostream& err) {
    const ImageLoadResult loaded = loadImageFileCore(files, document.current, path);
    if (!loaded.ok) {
        const bool detailed = !loaded.detail.empty() && loaded.detail != loaded.message;
        err << loaded.message << (detailed ? ": " + loaded.detail : std::string()) << '\n';
        return false;
    }
    if (!loaded.status.empty()) out << loaded.status << '\n';
    document.path = path;
    document.displayName = utf8FromPath(path.filename());
    return true;
}

bool applySelection(CanvasImage& image, const Rect& r, std::string& message) {
    if (r.empty() || r.left < 0 || r.top < 0 || r.right > image.pixels.width ||
        r.bottom > image.pixels.height) {
        message = "The selection must be a non-empty rectangle inside the " +
                  std::to_string(image.pixels.width) + " x " + std::to_string(image.pixels.height) +
                  " picture";
        return false;
    }
    image.selection = r;
    return true;
}

}  // namespace lumetra
