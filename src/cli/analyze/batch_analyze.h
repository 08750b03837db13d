#pragma once
// lumetra-analyze: a soundfile to a picture that renders back to it, on the program's own core.

#include <iosfwd>
#include <span>
#include <string>

#include "base/file_system.h"
#include "cli/exit_codes.h"

namespace lumetra {

// Runs the batch analyser with the arguments after the program name; returns the exit code
// (kBatchBadUsage for a bad command line or a grid beyond the picture limits, kBatchFailed for
// an unreadable soundfile or an unwritable picture).
int runBatchAnalyze(std::span<const std::string> args, FileSystem& files, std::ostream& out,
                    std::ostream& err);

}  // namespace lumetra
