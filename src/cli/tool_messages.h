#pragma once
// What both batch tools say on standard error: every line starts with the tool's name, a failed
// file names the system's reason, and nothing a tool meets escapes it as an abort.

#include <filesystem>
#include <functional>
#include <ostream>
#include <streambuf>
#include <string>

#include "base/file_system.h"

namespace lumetra {

// A stream that puts `tag` (the tool's name and ": ") in front of every line written to `to`.
class TaggedLines final : private std::streambuf, public std::ostream {
  public:
    TaggedLines(std::ostream& to, std::string tag);

  private:
    int overflow(int c) override;
    std::ostream& to_;
    std::string tag_;
    bool lineStart_ = true;
};

// "Error 28: No space left on device": the system's number and text of the last failed call.
std::string systemReason(FileSystem& files);

// True when `output` names the file `input` names: the same text once made absolute and normal,
// or the same file on the disk (links, other spellings of the name).
bool sameFile(FileSystem& files, const std::filesystem::path& input,
              const std::filesystem::path& output);

// Runs `tool` and returns its exit code; an exception from anywhere inside (memory, a fault of
// ours) is told on `err` after `name` and ends the run with kBatchFailed.
int runGuarded(const char* name, std::ostream& err, const std::function<int()>& tool);

}  // namespace lumetra
