#pragma once
// The short (8.3) and long forms of paths, and whether a path exists, from the wide API. Paths
// of any length work; results come back without an extended-length prefix.

#include <optional>
#include <string>

#include "base/path_names.h"

namespace lumetra::win {

class WinPathNames final : public PathNames {
  public:
    // The short form of the full path (a relative path is taken from the current directory);
    // the path unchanged when the file does not exist or has no short form.
    std::string shortPath(const std::string& path) override;
    std::string longPath(const std::string& path) override;
    bool exists(const std::string& path) override;
};

}  // namespace lumetra::win
