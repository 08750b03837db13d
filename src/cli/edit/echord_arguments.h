#pragma once
// The arguments of echord: the thirteen values in the order patches store them (Hop and Hop1 as
// slider positions), or a built-in patch by its slot.

#include <optional>
#include <span>
#include <string>

#include "cli/edit/edit_operations.h"

namespace lumetra {

// The values' ranges as the usage states them: the dialog's sliders and check boxes, with HOP
// up to 499 as stored patches may hold it.
std::string echordRangesText();

std::optional<EditAction> readEchordArguments(const EditOperation& operation,
                                              std::span<const std::string> args,
                                              std::string& message);

}  // namespace lumetra
