#pragma once
// The command line of lumetra-edit, up to the operation's own arguments:
//
//   lumetra-edit [--selection L,T,R,B] [--seed N] INPUT.bmp OUTPUT.bmp OPERATION [ARGUMENTS]

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/rect.h"
#include "render/random_seed.h"

namespace lumetra {

struct EditOptions {
    std::optional<Rect> selection;  // picture coordinates, right and bottom exclusive
    std::uint32_t seed = RandomSeed::kStart;
    std::filesystem::path input, output;
    std::string operation;
    std::vector<std::string> arguments;  // everything after the operation's name
    bool help = false;
};

// Reads the arguments (without the program name): the options before INPUT, then INPUT, OUTPUT
// and the operation's name. nullopt with a message for anything wrong.
std::optional<EditOptions> parseEditOptions(std::span<const std::string> args,
                                            std::string& message);

}  // namespace lumetra
