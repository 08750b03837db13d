// The driver prints the wide texts of the program's windows as UTF-8.
#pragma once

#include <string>

namespace e2e {

std::string toUtf8(const std::wstring& text);

}  // namespace e2e
