// lumetra_e2e [--timeout MS] [--starting] COMMAND [ARGS...]...: drives a running Lumetra.exe from
// outside for the end-to-end scenarios. It reads what a user can see and sends only what a menu
// click or the close box sends (keys and the mouse come from xdotool). Exit code 0 when all
// commands succeeded, 1 after the first failure (its reason on stderr), 2 for a bad command line.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iterator>

#include "driver.h"

namespace e2e {

int gTimeoutMs = 10000;

void throwLastError(const std::string& what) {
    const DWORD code = GetLastError();
    wchar_t text[400] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, DWORD(std::size(text)), nullptr);
    std::string message = toUtf8(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    throw DriverError(what + ": Error " + std::to_string(code) + ": " + message);
}

HWND Session::main() {
    const ULONGLONG end = GetTickCount64() + ULONGLONG(gTimeoutMs);
    while (!main_) {
        HWND window = FindWindowW(L"LumetraWin", nullptr);
        if (window && (acceptHidden_ || IsWindowVisible(window))) {
            main_ = window;
            GetWindowThreadProcessId(window, &processId_);
            process_.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId_));
            if (!process_) throwLastError("OpenProcess");
        } else if (GetTickCount64() > end) {
            throw DriverError("no visible window of class LumetraWin");
        } else {
            Sleep(50);
        }
    }
    return main_;
}

}  // namespace e2e

namespace {

int usage() {
    std::fputs("usage: lumetra_e2e [--timeout MS] [--starting] COMMAND [ARGS...]...\n", stderr);
    for (const e2e::Command& command : e2e::commandTable())
        std::fprintf(stderr, "  %s %s\n", command.name, command.help);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    const e2e::Args words(argv + 1, argv + argc);
    size_t at = 0;
    bool acceptHidden = false;
    for (;; ++at) {
        if (words.size() >= at + 2 && words[at] == L"--timeout") {
            e2e::gTimeoutMs = _wtoi(words[++at].c_str());
        } else if (words.size() >= at + 1 && words[at] == L"--starting") {
            acceptHidden = true;
        } else {
            break;
        }
    }
    if (at >= words.size()) return usage();
    e2e::Session session(acceptHidden);
    while (at < words.size()) {
        const e2e::Command* command = nullptr;
        for (const e2e::Command& c : e2e::commandTable())
            if (e2e::toUtf8(words[at]) == c.name) command = &c;
        if (!command) {
            std::fprintf(stderr, "unknown command: %s\n", e2e::toUtf8(words[at]).c_str());
            return usage();
        }
        const size_t end = at + 1 + size_t(command->arguments);
        if (end > words.size()) {
            std::fprintf(stderr, "%s needs %d argument(s)\n", command->name, command->arguments);
            return 2;
        }
        const e2e::Args args(words.begin() + long(at) + 1, words.begin() + long(end));
        at = end;
        try {
            const std::string out = command->run(session, args);
            if (!out.empty()) std::printf("%s\n", out.c_str());
            std::fflush(stdout);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", command->name, error.what());
            return 1;
        }
    }
    return 0;
}
