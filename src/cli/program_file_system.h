#pragma once
// The file system a batch tool works through: on Windows the program's own (wide API, paths of
// any length, replacing a file in one step with the platform's call), elsewhere the C and C++
// libraries.

#include <memory>

#include "base/file_system.h"

namespace lumetra {

std::unique_ptr<FileSystem> makeProgramFileSystem();

}  // namespace lumetra
