#pragma once
// lumetra-edit: one of the program's image operations applied to a picture file, written as a new
// picture file, on the program's own core; for scripts and for checking operations outside the GUI.

#include <iosfwd>
#include <span>
#include <string>

#include "base/file_system.h"
#include "cli/exit_codes.h"

namespace lumetra {

// Runs the batch editor with the arguments after the program name; returns the exit code
// (kBatchFailed for an unreadable input, a failed operation or an unwritable output, which is then
// left as it was).
int runBatchEdit(std::span<const std::string> args, FileSystem& files, std::ostream& out,
                 std::ostream& err);

}  // namespace lumetra
