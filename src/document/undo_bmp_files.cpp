#include "document/undo_bmp_files.h"
#include "document/image_save.h"

#include "document/image_file.h"
#include "image/bmp_writer.h"

namespace lumetra {

bool UndoBmpFiles::save(const CanvasImage& image, const std::filesystem::path& path) {
    return saveImageBmp(image, path, /*refreshInfo=*/false, attachRenderInfo_);
}

bool UndoBmpFiles::load(CanvasImage& image, const std::filesystem::path& path) {
    return loadImageFileCore(image, path).ok;
}

}  // namespace lumetra
