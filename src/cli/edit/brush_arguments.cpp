#include "cli/edit/brush_arguments.h"

#include <array>
#include <string_view>
#include <utility>

#include "cli/command_line.h"
#include "tools/brush_patches.h"
#include "tools/paint_dab.h"

namespace lumetra {
namespace {

// What the line asks of the brush beyond its start.
struct BrushLine {
    std::optional<std::size_t> patch;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> colours;
    std::optional<BrushShape> shape;
    std::optional<ColorFade> fade;
    std::optional<ColorMix> mix;
    std::optional<std::int32_t> density;
};

template <typename Value, std::size_t N>
bool readName(std::string_view text, const std::pair<std::string_view, Value> (&names)[N],
              std::optional<Value>& value) {
    for (const auto& [name, named] : names) {
        if (text == name) {
            value = named;
            return true;
        }
    }
    return false;
}

constexpr std::pair<std::string_view, BrushShape> kShapes[] = {
    {"spray", BrushShape::Spray}, {"round", BrushShape::Round}, {"rect", BrushShape::Rect}};
constexpr std::pair<std::string_view, ColorFade> kFades[] = {
    {"noise", ColorFade::Noise}, {"right", ColorFade::Right}, {"down", ColorFade::Down}};
constexpr std::pair<std::string_view, ColorMix> kMixes[] = {{"cover", ColorMix::Cover},
                                                            {"add", ColorMix::Add},
                                                            {"filter", ColorMix::Filter},
                                                            {"boil", ColorMix::Boil}};

bool readPatch(const std::string& text, BrushLine& line) {
    if (text.size() != 2 || (text[0] != 'A' && text[0] != 'B') || text[1] < '1' || text[1] > '8')
        return false;
    line.patch = brushSlotIndex(text[0] == 'B', std::size_t(text[1] - '1'));
    return true;
}

bool readColours(const std::string& text, BrushLine& line) {
    const std::size_t comma = text.find(',');
    std::uint32_t c1 = 0, c2 = 0;
    if (comma == std::string::npos || !readWord(std::string_view(text).substr(0, comma), c1) ||
        !readWord(std::string_view(text).substr(comma + 1), c2) || c1 > 0xFFFFFF || c2 > 0xFFFFFF)
        return false;
    line.colours = std::pair{c1, c2};
    return true;
}

bool readShape(const std::string& text, BrushLine& line) {
    return readName(text, kShapes, line.shape);
}
bool readFade(const std::string& text, BrushLine& line) {
    return readName(text, kFades, line.fade);
}
bool readMix(const std::string& text, BrushLine& line) {
    return readName(text, kMixes, line.mix);
}

bool readDensity(const std::string& text, BrushLine& line) {
    std::int32_t density = 0;
    if (!readNumber(text, density) || density < 1 || density > 80) return false;
    line.density = density;
    return true;
}

struct OptionRow {
    std::string_view name;
    std::string_view values;  // for the message about a bad value
    bool (*read)(const std::string& text, BrushLine& line);
};

// brush takes them all; boil the three from --colours on.
constexpr OptionRow kOptions[] = {
    {"--patch", "A1 to B8", readPatch},
    {"--colours", "C1,C2, colour words 0x00BBGGRR", readColours},
    {"--shape", "spray, round or rect", readShape},
    {"--fade", "noise, right or down", readFade},
    {"--mix", "cover, add, filter or boil", readMix},
    {"--density", "1 to 80", readDensity},
};
constexpr std::span<const OptionRow> kBoilOptions = std::span(kOptions).subspan(1, 3);

bool readOptions(const EditOperation& operation, std::span<const std::string> args,
                 std::span<const OptionRow> rows, BrushLine& line, std::string& message) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        const OptionRow* row = nullptr;
        for (const OptionRow& r : rows)
            if (r.name == name) row = &r;
        if (!row) {
            message = "Unknown argument of " + std::string(operation.name) + ": " + name;
            return false;
        }
        if (i + 1 >= args.size()) {
            message = "Option " + name + " needs a value";
            return false;
        }
        if (!row->read(args[++i], line)) {
            message =
                "Bad value for " + name + ": " + args[i] + " (" + std::string(row->values) + ")";
            return false;
        }
    }
    return true;
}

BrushSettings brushFor(const BrushLine& line) {
    const BrushPatchBlock patches = builtInBrushPatches();
    BrushSettings s = initialBrushSettings(patches);
    if (line.patch) s = recallBrushPatch(patches, *line.patch, s);
    if (line.colours) {
        s.colour1 = line.colours->first;
        s.colour2 = line.colours->second;
    }
    s.shape = line.shape.value_or(s.shape);
    s.fade = line.fade.value_or(s.fade);
    s.mix = line.mix.value_or(s.mix);
    if (line.density) {
        s.sprayDensity = *line.density;
        s.sprayThreshold = sprayThresholdFor(*line.density);
    }
    return s;
}

// The boiler's values as a patch can hold them.
bool readBoilerValues(const std::string& text, BrushSettings& settings) {
    std::int32_t v[4] = {};
    if (!readNumberList(text, v)) return false;
    for (const std::int32_t value : v)
        if (value < -32768 || value > 32767) return false;
    settings.heat = v[0];
    settings.blur = v[1];
    settings.cycle = v[2];
    settings.shift = v[3];
    return true;
}

// The brush the program holds when the command starts: made before, so the draws of its making
// (a noise fill, a spray) are not the operation's and `--seed` is the seed of the operation alone.
bool prepareBrush(BrushTool& tool, const BrushSettings& settings, std::string& failure) {
    RandomSeed making;
    return buildBrush(tool.brush, settings, making, failure);
}

}  // namespace

std::optional<EditAction> readBrushArguments(const EditOperation& operation,
                                             std::span<const std::string> args,
                                             std::string& message) {
    BrushLine line;
    if (!readOptions(operation, args, kOptions, line, message)) return std::nullopt;
    const BrushSettings settings = brushFor(line);
    return EditAction([settings](EditTarget& target, std::string& failure) {
        BrushTool tool;
        return prepareBrush(tool, settings, failure) &&
               applyBrushToImage(tool, target.document.current, target.seed, failure);
    });
}

std::optional<EditAction> readBoilArguments(const EditOperation& operation,
                                            std::span<const std::string> args,
                                            std::string& message) {
    BrushSettings boiler;
    if (args.empty() || !readBoilerValues(args.front(), boiler)) {
        message =
            std::string(operation.name) + " needs HEAT,BLUR,CYCLE,SHIFT, each -32768 to 32767";
        if (!args.empty()) message += ", not " + args.front();
        return std::nullopt;
    }
    BrushLine line;
    if (!readOptions(operation, args.subspan(1), kBoilOptions, line, message)) return std::nullopt;
    BrushSettings settings = brushFor(line);
    settings.heat = boiler.heat;
    settings.blur = boiler.blur;
    settings.cycle = boiler.cycle;
    settings.shift = boiler.shift;
    return EditAction([settings](EditTarget& target, std::string& failure) {
        BrushTool tool;
        return prepareBrush(tool, settings, failure) &&
               applyColorBoiler(tool, target.document.current, failure);
    });
}

}  // namespace lumetra
