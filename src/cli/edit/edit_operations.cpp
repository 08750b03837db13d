#include "cli/edit/edit_operations.h"

#include <algorithm>
#include <vector>

#include "cli/edit/brush_arguments.h"
#include "cli/edit/composite_arguments.h"
#include "cli/edit/drag_arguments.h"
#include "cli/edit/echord_arguments.h"
#include "imageops/picture_commands.h"

namespace lumetra {
namespace {

// The commands that take nothing but the picture run through the program's own command table.
std::optional<EditAction> readPictureCommand(const EditOperation& operation,
                                             std::span<const std::string> args,
                                             std::string& message) {
    if (!args.empty()) {
        message = std::string(operation.name) + " takes no arguments, not " + args.front();
        return std::nullopt;
    }
    const PictureCommand* command = findPictureCommand(operation.command);
    if (!command) {
        message = "No command " + std::to_string(operation.command);
        return std::nullopt;
    }
    return EditAction([command](EditTarget& target, std::string& failure) {
        if (command->apply(target.document.current).done) return true;
        failure = "Could not create new image";  // the larger picture of a Double
        return false;
    });
}

constexpr std::string_view kCompositeArguments =
    "PICTURE [--strength R,G,B] [--flip-lr] [--flip-ud]";
constexpr std::string_view kOrOverlayArguments = "PICTURE [--flip-lr] [--flip-ud]";
// A line break in the arguments continues them under the first one.
constexpr std::string_view kBoilArguments =
    "HEAT,BLUR,CYCLE,SHIFT [--colours C1,C2]\n"
    "[--fade noise|right|down] [--shape spray|round|rect]";
constexpr std::string_view kBrushArguments =
    "[--patch SLOT] [--colours C1,C2] [--shape spray|round|rect]\n"
    "[--fade noise|right|down] [--mix cover|add|filter|boil]\n"
    "[--density N]";

constexpr EditOperation kOperations[] = {
    {"normalize", "", 223, readPictureCommand,
     "Normalize: the region's levels scaled until its brightest byte is 255"},
    {"brighten", "", 224, readPictureCommand, "Brighten: every level raised"},
    {"darken", "", 225, readPictureCommand, "Darken: every level lowered"},
    {"contrast", "", 226, readPictureCommand, "More Contrast: levels spread from the middle"},
    {"invert", "", 227, readPictureCommand, "Invert: every level turned into its opposite"},
    {"clear-excess-blue", "", 228, readPictureCommand,
     "Clear Excess Blue: blue removed wherever red and green are 0 (whole picture)"},
    {"mirror", "", 241, readPictureCommand, "Mirror: the region's columns reversed (time)"},
    {"flip", "", 242, readPictureCommand, "Flip: the region's rows reversed (pitch)"},
    {"double-h", "", 243, readPictureCommand,
     "Double: twice as wide, the picture twice side by side"},
    {"double-v", "", 244, readPictureCommand,
     "Double: twice as high, the picture twice one above the other"},
    {"half-h", "", 245, readPictureCommand, "Half: the picture at half width, twice side by side"},
    {"half-v", "", 246, readPictureCommand,
     "Half: the picture at half height, twice one above the other"},
    {"delete", "", 207, readPictureCommand, "Delete: the region made black"},
    {"filter", kCompositeArguments, 208, readCompositeArguments,
     "the region filtered by PICTURE, as from the image browser"},
    {"overlay", kCompositeArguments, 210, readCompositeArguments,
     "PICTURE laid over the region, as from the image browser"},
    {"or-overlay", kOrOverlayArguments, 211, readCompositeArguments,
     "PICTURE combined with the region, as a filter or overlay from a file"},
    {"move", "DX,DY", 323, readMoveArguments, "a Move drag of DX,DY pixels"},
    {"zoom-rotate", "AX,AY PX,PY [--screen W,H]", 324, readDeformArguments,
     "a Zoom-rotate drag from anchor AX,AY to PX,PY"},
    {"skew-flip", "AX,AY PX,PY [--screen W,H]", 326, readDeformArguments,
     "a Skew-flip drag from anchor AX,AY to PX,PY"},
    {"echord", "VALUES | --patch SLOT", 0, readEchordArguments,
     "Echord: fading echo and chord copies of the region"},
    {"boil", kBoilArguments, 222, readBoilArguments,
     "Apply Color Boiler: the boiler stirs the region's colours"},
    {"brush", kBrushArguments, 221, readBrushArguments,
     "Apply Brush to Image: one dab of the brush over the region"},
};

// The operation's name and arguments; a line break in the arguments continues them under the
// first.
std::vector<std::string> usageLines(const EditOperation& o) {
    std::vector<std::string> lines{"  " + std::string(o.name)};
    const std::string indent(lines.front().size() + 1, ' ');
    bool first = true;
    for (std::string_view rest = o.arguments; !rest.empty(); first = false) {
        const std::string_view part = rest.substr(0, rest.find('\n'));
        if (first) {
            lines.front() += " " + std::string(part);
        } else {
            lines.push_back(indent + std::string(part));
        }
        rest.remove_prefix(std::min(rest.size(), part.size() + 1));
    }
    return lines;
}

}  // namespace

std::span<const EditOperation> editOperations() {
    return kOperations;
}

const EditOperation* findEditOperation(std::string_view name) {
    const auto* found = std::find_if(std::begin(kOperations), std::end(kOperations),
                                     [name](const EditOperation& o) { return o.name == name; });
    return found == std::end(kOperations) ? nullptr : found;
}

std::string editUsageText() {
    std::string text =
        "Usage: lumetra-edit [--selection L,T,R,B] [--seed N] INPUT.bmp OUTPUT.bmp OPERATION "
        "[ARGUMENTS]\n"
        "  --selection L,T,R,B  the operation region (picture coordinates, right and bottom\n"
        "                       exclusive; default: the whole picture)\n"
        "  --seed N             the random seed when the operation starts, decimal or 0x-hex\n"
        "                       (default: the program's start value)\n"
        "OUTPUT is a 24-bit BMP file (its name ends in \".bmp\") with the picture's render info;\n"
        "it may be INPUT itself, which is replaced once the result is complete. Operations:\n";
    for (const EditOperation& o : kOperations) {
        for (const std::string& line : usageLines(o))
            text += line + "\n";
        text += "      " + std::string(o.summary) + "\n";
    }
    text +=
        "  --strength: percentages 0 to 100 of red, green and blue (default 100,100,100)\n"
        "  --screen: the screen that sets the units of angle and shear (default 1920,1080)\n"
        "  VALUES: A,W,HOP,HOP1,FADE,FADE1,NUM,MUL,RAND,JITTER,SWAP,ALT,WRAP, as Echord patches\n"
        "  hold them (HOP and HOP1 as slider positions), each in its range:\n"
        "  " +
        echordRangesText() +
        "\n"
        "  echord's SLOT: A1..A9, A00, B1..B9, B00 of the built-in Echord patches\n"
        "  --colours: colour words 0x00BBGGRR (red in the low byte); brush's SLOT: A1 to B8 of\n"
        "  the built-in brush patches, recalled before the other options apply\n";
    return text;
}

}  // namespace lumetra
