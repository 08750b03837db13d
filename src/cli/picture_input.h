#pragma once
// The picture a batch tool works on, opened as the program opens it: its pixels by our own BMP
// reader, then its render info (the record appended to the file, else its ".info" file).

#include <filesystem>
#include <iosfwd>
#include <string>

#include "base/file_system.h"
#include "document/canvas_image.h"

namespace lumetra {

// Opens `path` into the document's current image and names the document after it. Prints the
// loader's status text to `out`; on failure prints why to `err` and returns false.
bool openPicture(FileSystem& files, ImageDocument& document, const std::filesystem::path& path,
                 std::ostream& out, std::ostream& err);

// Why a picture could not be opened: the reader's reason (`detail`), or the system's when the
// file could not be opened or read at all.
std::string failureDetail(FileSystem& files, const std::string& detail);

// Makes `selection` the image's selection when it is a non-empty rectangle inside the picture;
// otherwise false with a message naming the picture's size.
bool applySelection(CanvasImage& image, const Rect& selection, std::string& message);

}  // namespace lumetra
