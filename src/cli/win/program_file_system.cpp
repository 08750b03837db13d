#include "cli/program_file_system.h"

#include "base/win/win_file_system.h"

namespace lumetra {

std::unique_ptr<FileSystem> makeProgramFileSystem() {
    return std::make_unique<win::WinFileSystem>();
}

}  // namespace lumetra
