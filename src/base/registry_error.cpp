#include "base/registry_error.h"

#include <boost/system/error_code.hpp>

namespace lumetra {

std::string systemErrorText(int code) {
    std::string text = boost::system::system_category().message(code);
    // The Windows texts end in a line break, which would show as a stray empty line in a box.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return "Error " + std::to_string(code) + ": " + text;
}

RegistryError::RegistryError(std::string_view operation, int code)
    : std::runtime_error(std::string(operation) + "\n" + systemErrorText(code)), code_(code) {}

}  // namespace lumetra
