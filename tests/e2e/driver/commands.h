// The driver's commands: each takes a fixed number of arguments and prints its answer, if any.
#pragma once

#include <string>
#include <vector>

#include "session.h"

namespace e2e {

struct Command {
    const char* name;
    int arguments;
    const char* help;
    // Returns the text to print (nothing is printed when it is empty).
    std::string (*run)(Session& session, const std::vector<std::wstring>& args);
};

const std::vector<Command>& commandTable();

}  // namespace e2e
