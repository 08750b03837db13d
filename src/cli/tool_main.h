#pragma once
// What the batch tools' entry points share: the arguments as UTF-8, the platform's file system,
// the standard streams.

#include <iostream>

#include "cli/program_arguments.h"
#include "cli/program_file_system.h"

namespace lumetra {

// Runs `run(arguments, files, out, err)` and returns its exit code.
template <typename Character, typename Run>
int runTool(int argc, Character** argv, Run run) {
    const auto files = makeProgramFileSystem();
    return run(programArguments(argc, argv), *files, std::cout, std::cerr);
}

}  // namespace lumetra
