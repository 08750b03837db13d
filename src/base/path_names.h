#pragma once
// The platform's path-name conversions: short (8.3) and long forms, and whether a path exists.

#include <string>

namespace lumetra {

// The platform's path-name conversions.
class PathNames {
  public:
    virtual ~PathNames() = default;
    // The short form of the full path; the path unchanged when it has none.
    virtual std::string shortPath(const std::string& path) = 0;
    // The long form; the path unchanged when it cannot be had (the file has gone, say).
    virtual std::string longPath(const std::string& path) = 0;
    // Whether the path names an existing file or folder.
    virtual bool exists(const std::string& path) = 0;
};

}  // namespace lumetra
