#pragma once
// The arguments of filter, overlay and or-overlay: the other picture's file and the choices the
// image browser offers in the program (flips and, except for the OR overlay, channel strengths).

#include <optional>
#include <span>
#include <string>

#include "cli/edit/edit_operations.h"

namespace lumetra {

std::optional<EditAction> readCompositeArguments(const EditOperation& operation,
                                                 std::span<const std::string> args,
                                                 std::string& message);

}  // namespace lumetra
