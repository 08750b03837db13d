#include "driver_error.h"

#include <windows.h>

#include <iterator>

#include "text_utf8.h"

namespace e2e {

void throwLastError(const std::string& what) {
    const DWORD code = GetLastError();
    wchar_t text[400] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, static_cast<DWORD>(std::size(text)), nullptr);
    std::wstring message = text;
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
        message.pop_back();
    }
    throw DriverError(what + ": Error " + std::to_string(code) + ": " + toUtf8(message));
}

}  // namespace e2e
