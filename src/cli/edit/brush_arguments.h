#pragma once
// The arguments of brush (Apply Brush to Image) and boil (Apply Color Boiler). The brush starts
// as the program's does when its dialog is made (slot A1 of the built-in patches, density 40, the
// boiler at rest); brush's --patch is recalled first, by the patch rules, then the other options
// apply, in any order.

#include <optional>
#include <span>
#include <string>

#include "cli/edit/edit_operations.h"

namespace lumetra {

// brush [--patch SLOT] [--colours C1,C2] [--shape S] [--fade F] [--mix M] [--density N]
std::optional<EditAction> readBrushArguments(const EditOperation& operation,
                                             std::span<const std::string> args,
                                             std::string& message);

// boil HEAT,BLUR,CYCLE,SHIFT [--colours C1,C2] [--fade F] [--shape S]
std::optional<EditAction> readBoilArguments(const EditOperation& operation,
                                            std::span<const std::string> args,
                                            std::string& message);

}  // namespace lumetra
