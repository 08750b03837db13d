#pragma once
// lumetra-render: a picture file to a WAV file on the program's own core, for batch work and for
// checking renders outside the GUI.

#include <iosfwd>
#include <span>
#include <string>

#include "base/file_system.h"
#include "cli/exit_codes.h"

namespace lumetra {

// Runs the batch renderer with the arguments after the program name; returns the exit code
// (kBatchFailed for an unreadable picture, nothing to render or an unwritable output).
int runBatchRender(std::span<const std::string> args, FileSystem& files, std::ostream& out,
                   std::ostream& err);

}  // namespace lumetra
