#pragma once
// The exception of the registry access: a message text made from what was being done and the
// system's own text for the error code.

#include <stdexcept>
#include <string>
#include <string_view>

namespace lumetra {

// "Error %d: %s" with the system's text for `code` (Boost.System's system category: the Windows
// texts on Windows, the C library's elsewhere).
std::string systemErrorText(int code);

class RegistryError : public std::runtime_error {
  public:
    // "<operation>\nError <code>: <system text>".
    RegistryError(std::string_view operation, int code);

    int code() const { return code_; }

  private:
    int code_ = 0;
};

}  // namespace lumetra
