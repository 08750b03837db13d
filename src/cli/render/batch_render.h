#pragma once
// lumetra-render: a picture file to a WAV file on the program's own core, for batch work and for
// checking renders outside the GUI.

#include <iosfwd>
#include <span>
#include <string>

namespace lumetra {

// Exit codes of the batch renderer.
inline constexpr int kBatchOk = 0;
inline constexpr int kBatchFailed = 1;  // unreadable picture, nothing to render, unwritable output
inline constexpr int kBatchBadUsage = 2;  // a bad command line

// Runs the batch renderer with the arguments after the program name.
int runBatchRender(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace lumetra
