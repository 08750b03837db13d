#pragma once
// Helpers of the port tests: a scratch folder that is removed with everything in it (paths of
// any length), and the system's own text for an error code as FormatMessageW gives it.

#include <windows.h>

#include <string>

namespace lumetra::win::ports {

// A fresh folder under the temporary folder, removed again by the destructor.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder's path with a trailing backslash.
    const std::wstring& path() const { return path_; }

  private:
    std::wstring path_;
};

// The path with the extended-length prefix, for the tests' own file calls on long paths.
std::wstring extended(const std::wstring& path);
// Creates a file holding `bytes`; false when it cannot.
bool writeFile(const std::wstring& path, const std::string& bytes);
// FormatMessageW's text for `code`, without the line break and the full stop at its end.
std::wstring systemMessage(DWORD code);

}  // namespace lumetra::win::ports
