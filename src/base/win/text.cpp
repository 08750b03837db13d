#include "base/win/text.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace lumetra::win {

std::wstring formatTextV(size_t limit, const wchar_t* format, va_list args) {
    std::vector<wchar_t> buffer(limit + 1, L'\0');
    int n = std::vswprintf(buffer.data(), buffer.size(), format, args);
    // A text longer than the buffer is cut rather than refused.
    if (n < 0) return std::wstring(buffer.data());
    return std::wstring(buffer.data(), std::min<size_t>(size_t(n), limit));
}

std::wstring formatText(size_t limit, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring text = formatTextV(limit, format, args);
    va_end(args);
    return text;
}

std::wstring loadString(HINSTANCE instance, UINT id, size_t limit) {
    const wchar_t* resource = nullptr;
    int n = LoadStringW(instance, id, reinterpret_cast<wchar_t*>(&resource), 0);
    if (n <= 0 || !resource) return {};
    return std::wstring(resource, std::min<size_t>(size_t(n), limit));
}

std::wstring systemErrorText(DWORD code) {
    wchar_t buffer[400] = {};
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buffer, 400, nullptr);
    std::wstring text(buffer, n);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
        text.pop_back();
    return text;
}

std::wstring windowText(HWND window) {
    int n = GetWindowTextLengthW(window);
    std::wstring text(size_t(n) + 1, L'\0');
    n = GetWindowTextW(window, text.data(), n + 1);
    text.resize(size_t(std::max(n, 0)));
    return text;
}

}  // namespace lumetra::win
