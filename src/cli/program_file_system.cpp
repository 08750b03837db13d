// The native half of the choice; the Windows build takes win/program_file_system.cpp instead.

#include "cli/program_file_system.h"

#include "base/standard_file_system.h"

namespace lumetra {

std::unique_ptr<FileSystem> makeProgramFileSystem() {
    return std::make_unique<StandardFileSystem>();
}

}  // namespace lumetra
