#pragma once
// The Colors, Image and Filter menus and Delete: the picture commands of the core's table, and
// filters and overlays from a file or from the image browser.

#include <filesystem>
#include <optional>

#include "imageops/composite.h"

namespace lumetra::win {

struct Program;

// 223 to 228, 241 to 246 and 207: the undo snapshot the command asks for, the wait cursor where
// it takes one, the operation, and the view following the new picture.
void pictureCommand(Program& program, int id);

// 221 Apply Brush to Image and 222 Apply Color Boiler: the brush or the boiler over the
// operation region, after the undo snapshot.
void brushCommand(Program& program, int id);
// The brush as the program starts it, from the brush patches.
void startBrush(Program& program);

// 211 and 212: a picture from the Open dialog combined into the operation region.
void compositeFromFileCommand(Program& program, int id);
// 208 and 210: the picture selected in the image browser; a closed browser is shown instead.
void compositeFromBrowserCommand(Program& program, int id);
// A double click in the image browser: the file as a filter, as 208 applies it.
void filterFromBrowserFile(Program& program, const std::filesystem::path& file);

// The file and the choices the image browser offers for a filter or overlay: no file while the
// browser has no selection.
struct BrowserPick {
    std::optional<std::filesystem::path> file;
    BrowserChoices choices;
};
BrowserPick browserPick(const Program& program);

}  // namespace lumetra::win
