#pragma once
// Rules about the text of Windows paths that do not need the file system.

#include <string_view>

namespace lumetra {

// Only paths of the drive-letter form ("X:" first) can be chosen in the folder browser; network
// paths and virtual folders cannot.
bool hasDriveLetter(std::string_view path);

}  // namespace lumetra
