#include "cli/edit/echord_arguments.h"

#include "cli/command_line.h"
#include "tools/echord.h"
#include "tools/echord_patches.h"

namespace lumetra {
namespace {

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
    const EchordSettings settings = recallEchordPatch(*patch).settings;
    return EditAction([settings](EditTarget& target, std::string&) {
        RenderWorkers workers;  // the copies are worth sharing among the processors
        addEchordCopies(target.document.undo.pixels, target.document.current, settings, target.seed,
                        &workers);
        return true;
    });
}

}  // namespace lumetra
