#include "cli/edit/composite_arguments.h"

#include <vector>

#include "base/file_io.h"
#include "cli/command_line.h"
#include "cli/picture_input.h"
#include "image/bmp_reader.h"
#include "imageops/composite.h"

namespace lumetra {
namespace {

bool readStrength(const std::string& text, ChannelPercentages& percent) {
    std::int32_t values[3] = {};
    if (!readNumberList(text, values)) return false;
    for (std::int32_t v : values)
        if (v < 0 || v > 100) return false;
    percent = ChannelPercentages{values[0], values[1], values[2]};
    return true;
}

// The options after PICTURE, in any order.
bool readChoices(const EditOperation& operation, std::span<const std::string> args,
                 BrowserChoices& choices, std::string& message) {
    const bool strengths = operation.command != kOverlayFromFileCommand;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--flip-lr") {
            choices.mirrorLeftRight = true;
        } else if (name == "--flip-ud") {
            choices.turnUpsideDown = true;
        } else if (name == "--strength" && strengths) {
            if (i + 1 >= args.size()) {
                message = "Option --strength needs a value";
                return false;
            }
            if (!readStrength(args[++i], choices.percent)) {
                message = "Bad value for --strength: " + args[i] + " (R,G,B, each 0 to 100)";
                return false;
            }
        } else {
            message = "Unknown argument of " + std::string(operation.name) + ": " + name;
            return false;
        }
    }
    return true;
}

// The other picture as the program loads it for a filter: any BMP file, as 24-bit pixels.
bool loadPicture(FileSystem& files, const std::filesystem::path& path, PixelImage& picture,
                 std::string& message) {
    std::vector<std::uint8_t> file;
    std::string detail;
    BmpReadResult bmp;
    if (readWholeFile(files, path, file, detail, std::uintmax_t(kMaxPixelBytes) * 2)) {
        bmp = decodeBmp(file);
        detail = bmp.message;
    }
    if (!bmp.pixels) {
        message = "Could not open " + utf8FromPath(path) + ": " + failureDetail(files, detail);
        return false;
    }
    picture = std::move(*bmp.pixels);
    return true;
}

}  // namespace

std::optional<EditAction> readCompositeArguments(const EditOperation& operation,
                                                 std::span<const std::string> args,
                                                 std::string& message) {
    if (args.empty() || (args.front().size() > 1 && args.front()[0] == '-')) {
        message = std::string(operation.name) + " needs the PICTURE to combine";
        return std::nullopt;
    }
    BrowserChoices choices;
    choices.percent = ChannelPercentages{100, 100, 100};
    if (!readChoices(operation, args.subspan(1), choices, message)) return std::nullopt;
    const CompositeOptions options = compositeOptionsForCommand(operation.command, choices);
    const std::filesystem::path path = pathFromUtf8(args.front());
    return EditAction([options, path](EditTarget& target, std::string& failure) {
        PixelImage picture;
        if (!loadPicture(target.files, path, picture, failure)) return false;
        const CompositeResult result = compositeImage(target.document.current, picture, options);
        if (!result.ok) failure = std::string(kCompositeCaption) + ": " + result.message;
        return result.ok;
    });
}

}  // namespace lumetra
