#include "cli/picture_input.h"

#include <ostream>

#include "base/file_io.h"
#include "cli/tool_messages.h"
#include "document/image_file.h"

namespace lumetra {

std::string failureDetail(FileSystem& files, const std::string& detail) {
    // The file could not be opened or read ("Could not open x", "Could not read x"): the system
    // knows why. Anything else is the reader's own reason.
    if (detail.empty() || detail.starts_with("Could not ")) return systemReason(files);
    return detail;
}

bool openPicture(FileSystem& files, ImageDocument& document, const std::filesystem::path& path,
                 std::ostream& out, std::ostream& err) {
    const ImageLoadResult loaded = loadImageFileCore(files, document.current, path);
    if (!loaded.ok) {
        err << loaded.message << ": " << failureDetail(files, loaded.detail) << '\n';
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
