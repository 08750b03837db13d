#include "cli/edit/drag_arguments.h"

#include "cli/command_line.h"
#include "imageops/transform_drag.h"

namespace lumetra {
namespace {

bool readPoint(const std::string& text, DragPoint& point) {
    std::int32_t values[2] = {};
    if (!readNumberList(text, values)) return false;
    point = DragPoint{values[0], values[1]};
    return true;
}

// "--screen W,H" with both at least 1, or nothing.
bool readScreen(const EditOperation& operation, std::span<const std::string> args,
                ScreenSize& screen, std::string& message) {
    if (args.empty()) return true;
    if (args[0] != "--screen")
        return refuse(message,
                      "Unknown argument of " + std::string(operation.name) + ": " + args[0]);
    if (args.size() < 2) return refuse(message, "Option --screen needs a value");
    std::int32_t values[2] = {};
    if (!readNumberList(args[1], values) || values[0] < 1 || values[1] < 1)
        return refuse(message, "Bad value for --screen: " + args[1] + " (W,H, each at least 1)");
    if (args.size() > 2)
        return refuse(message,
                      "Unknown argument of " + std::string(operation.name) + ": " + args[2]);
    screen = ScreenSize{values[0], values[1]};
    return true;
}

// One operation per run: starting helper threads for it would cost about what they save.
DragPictures wholePicture(EditTarget& target) {
    PixelImage& picture = target.document.current.pixels;
    return DragPictures{target.document.undo.pixels, picture,
                        Rect{0, 0, picture.width, picture.height}, nullptr};
}

}  // namespace

std::optional<EditAction> readMoveArguments(const EditOperation& operation,
                                            std::span<const std::string> args,
                                            std::string& message) {
    DragPoint shift;
    if (args.size() != 1 || !readPoint(args[0], shift)) {
        message = std::string(operation.name) + " needs DX,DY";
        return std::nullopt;
    }
    return EditAction([shift](EditTarget& target, std::string&) {
        moveDrag(wholePicture(target), DragPoint{}, shift, target.document.current.settings);
        return true;
    });
}

std::optional<EditAction> readDeformArguments(const EditOperation& operation,
                                              std::span<const std::string> args,
                                              std::string& message) {
    DragPoint anchor, pointer;
    if (args.size() < 2 || !readPoint(args[0], anchor) || !readPoint(args[1], pointer)) {
        message = std::string(operation.name) + " needs AX,AY PX,PY";
        return std::nullopt;
    }
    ScreenSize screen = kDefaultDragScreen;
    if (!readScreen(operation, args.subspan(2), screen, message)) return std::nullopt;
    const DeformKind kind =
        operation.command == 326 ? DeformKind::SkewFlip : DeformKind::ZoomRotate;
    return EditAction([=](EditTarget& target, std::string&) {
        deformDrag(kind, wholePicture(target), anchor, pointer, screen);
        return true;
    });
}

}  // namespace lumetra
