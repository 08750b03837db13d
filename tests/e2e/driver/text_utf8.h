// Conversions between the driver's UTF-8 output and the wide texts of the program's windows.
#pragma once

#include <string>

namespace e2e {

std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);

}  // namespace e2e
