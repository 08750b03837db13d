#include "cli/edit/echord_arguments.h"

#include "cli/command_line.h"
#include "tools/echord.h"
#include "tools/echord_controls.h"
#include "tools/echord_patches.h"

namespace lumetra {
namespace {

constexpr const char* kValueNames[kEchordPatchWords] = {"A",     "W",   "HOP", "HOP1", "FADE",
                                                        "FADE1", "NUM", "MUL", "RAND", "JITTER",
                                                        "SWAP",  "ALT", "WRAP"};
// The largest slider position a stored patch may give Hop.
constexpr std::int32_t kLargestStoredHop = 499;

// The range of value i: a slider's (as patches store positions), or 0 and 1 for a check box.
std::pair<std::int32_t, std::int32_t> valueRange(std::size_t i) {
    if (i >= echordSliders().size()) return {0, 1};
    const EchordSlider& slider = echordSliders()[i];
    if (i == EchordPatch::kHop) return {slider.minimum, kLargestStoredHop};
    return {slider.minimum, slider.maximum};
}

// The first value outside its range, as "NUM 2147483647 (0 to 100)"; "" when all are inside.
std::string valueOutsideRange(const EchordPatch& patch) {
    for (std::size_t i = 0; i < kEchordPatchWords; ++i) {
        const auto [low, high] = valueRange(i);
        const std::int32_t v = patch.words[i];
        if (v < low || v > high)
            return std::string(kValueNames[i]) + " " + std::to_string(v) + " (" +
                   std::to_string(low) + " to " + std::to_string(high) + ")";
    }
    return "";
}

// "A1" .. "A9", "A00", "B1" .. "B9", "B00": the record of the built-in table.
std::optional<std::size_t> readSlot(const std::string& text) {
    if (text.size() < 2 || (text[0] != 'A' && text[0] != 'B')) return std::nullopt;
    const bool bankB = text[0] == 'B';
    const std::string button = text.substr(1);
    if (button == "00") return echordSlotIndex(bankB, kEchordEmptySlotButton);
    if (button.size() == 1 && button[0] >= '1' && button[0] <= '9')
        return echordSlotIndex(bankB, std::size_t(button[0] - '1'));
    return std::nullopt;
}

std::optional<EchordPatch> readPatch(std::span<const std::string> args) {
    if (args.size() == 2 && args[0] == "--patch") {
        const std::optional<std::size_t> slot = readSlot(args[1]);
        if (slot) return builtInEchordPatches()[*slot];
    } else if (args.size() == 1) {
        EchordPatch patch;
        if (readNumberList(args[0], patch.words)) return patch;
    }
    return std::nullopt;
}

}  // namespace

std::string echordRangesText() {
    std::string text;
    for (std::size_t i = 0; i < kEchordPatchWords; ++i) {
        const auto [low, high] = valueRange(i);
        text += (i == 0 ? "" : ", ") + std::string(kValueNames[i]) + " " + std::to_string(low) +
                ".." + std::to_string(high);
    }
    return text;
}

std::optional<EditAction> readEchordArguments(const EditOperation& operation,
                                              std::span<const std::string> args,
                                              std::string& message) {
    const std::optional<EchordPatch> patch = readPatch(args);
    if (!patch) {
        message = std::string(operation.name) +
                  " needs the 13 values A,W,HOP,HOP1,FADE,FADE1,NUM,MUL,RAND,JITTER,SWAP,ALT,WRAP"
                  " or --patch A1..A9, A00, B1..B9, B00";
        return std::nullopt;
    }
    if (const std::string outside = valueOutsideRange(*patch); !outside.empty()) {
        message = "Bad value for " + std::string(operation.name) + ": " + outside;
        return std::nullopt;
    }
    const EchordSettings settings = recallEchordPatch(*patch).settings;
    return EditAction([settings](EditTarget& target, std::string&) {
        RenderWorkers workers;  // the copies are worth sharing among the processors
        addEchordCopies(target.document.undo.pixels, target.document.current, settings, target.seed,
                        &workers);
        return true;
    });
}

}  // namespace lumetra
