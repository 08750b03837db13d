// The one error type of the end-to-end driver: a message for the scenario's log.
#pragma once

#include <stdexcept>
#include <string>

namespace e2e {

class DriverError : public std::runtime_error {
  public:
    explicit DriverError(const std::string& message) : std::runtime_error(message) {}
};

// "what failed: Error 5: Access is denied." with the system's own text for GetLastError().
[[noreturn]] void throwLastError(const std::string& what);

}  // namespace e2e
