// A stand-in for the user's web browser in the end-to-end runs, registered for ".html" files as
//   lumetra_browser_standin.exe RECORD_FILE "%1"
// It writes the arguments after RECORD_FILE into that file, one a line in UTF-8, and ends. The
// file appears in one step (written beside it, then moved into place): no reader sees half of it.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "base/win/unique_handle.h"
#include "base/win/utf16.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args || count < 2) return 2;
    std::string lines;
    for (int i = 2; i < count; ++i)
        lines += lumetra::win::toUtf8(args[i]) + "\n";
    const std::wstring record = args[1], part = record + L".part";
    LocalFree(args);
    DWORD written = 0;
    {
        lumetra::win::UniqueFile file(CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !WriteFile(file.get(), lines.data(), DWORD(lines.size()), &written, nullptr) ||
            written != lines.size())
            return 1;
    }
    return MoveFileExW(part.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
