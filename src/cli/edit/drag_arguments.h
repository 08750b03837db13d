#pragma once
// The arguments of move, zoom-rotate and skew-flip: where a drag of the tool began and ended.

#include <optional>
#include <span>
#include <string>

#include "cli/edit/edit_operations.h"

namespace lumetra {

// "DX,DY": a Move drag whose pointer ends that far from where it began.
std::optional<EditAction> readMoveArguments(const EditOperation& operation,
                                            std::span<const std::string> args,
                                            std::string& message);

// "AX,AY PX,PY [--screen W,H]": a deformation drag from the anchor to the pointer; the screen
// sets the units of angle and shear (default 1920 x 1080).
std::optional<EditAction> readDeformArguments(const EditOperation& operation,
                                              std::span<const std::string> args,
                                              std::string& message);

}  // namespace lumetra
