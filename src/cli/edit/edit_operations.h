#pragma once
// The operations of lumetra-edit, one row each: its name on the command line, its arguments as
// the usage shows them, and the reader of those arguments, which hands back the operation ready
// to run. A new operation is a new row.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "document/canvas_image.h"
#include "render/random_seed.h"

namespace lumetra {

// What an operation works on, as the program has it when the command runs: the document's current
// image is the input picture with the selection, its undo image the snapshot taken just before
// (the same picture); the seed is the program-wide random seed.
struct EditTarget {
    ImageDocument& document;
    RandomSeed& seed;
    FileSystem& files;
};

// Runs the operation on the target: false with a message when it could not be done.
using EditAction = std::function<bool(EditTarget& target, std::string& message)>;

struct EditOperation;
// Reads the arguments after the operation's name: the action, or nullopt with a message.
using EditArgumentReader = std::optional<EditAction> (*)(const EditOperation& operation,
                                                         std::span<const std::string> args,
                                                         std::string& message);

struct EditOperation {
    std::string_view name;
    std::string_view arguments;  // "" for none
    int command;                 // the program's command id, for the reader
    EditArgumentReader read;
    std::string_view summary;  // what it does, one line of the usage
};

std::span<const EditOperation> editOperations();

// The row of a name; null for an unknown one.
const EditOperation* findEditOperation(std::string_view name);

// The usage text, operations included.
std::string editUsageText();

}  // namespace lumetra
