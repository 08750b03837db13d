#include "cli/edit/edit_options.h"

#include "base/file_io.h"
#include "cli/command_line.h"

namespace lumetra {
namespace {

bool isOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

// One option with its value at args[i]; i moves past what was used.
bool readOption(std::span<const std::string> args, std::size_t& i, EditOptions& o,
                std::string& message) {
    const std::string& name = args[i];
    if (name == "--help" || name == "-h") return o.help = true;
    if (name != "--selection" && name != "--seed") {
        message = "Unknown option " + name;
        return false;
    }
    if (i + 1 >= args.size()) {
        message = "Option " + name + " needs a value";
        return false;
    }
    const std::string& text = args[++i];
    if (name == "--seed") {
        if (readWord(text, o.seed)) return true;
        message = "Bad value for --seed: " + text + " (0 to 4294967295, or 0x0 to 0xFFFFFFFF)";
        return false;
    }
    Rect rect;
    if (!readRect(text, rect)) {
        message = "Bad value for --selection: " + text + " (L,T,R,B)";
        return false;
    }
    o.selection = rect;
    return true;
}

}  // namespace

std::optional<EditOptions> parseEditOptions(std::span<const std::string> args,
                                            std::string& message) {
    EditOptions o;
    std::size_t i = 0;
    for (; i < args.size() && isOption(args[i]); ++i) {
        if (!readOption(args, i, o, message)) return std::nullopt;
        if (o.help) return o;
    }
    if (args.size() - i < 3) {
        message = "Missing INPUT.bmp, OUTPUT.bmp or OPERATION";
        return std::nullopt;
    }
    o.input = pathFromUtf8(args[i]);
    o.output = pathFromUtf8(args[i + 1]);
    o.operation = args[i + 2];
    o.arguments.assign(args.begin() + std::ptrdiff_t(i + 3), args.end());
    return o;
}

}  // namespace lumetra
