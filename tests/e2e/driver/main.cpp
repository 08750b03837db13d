// lumetra_e2e: drives a running Lumetra.exe from outside, for the end-to-end scenarios.
//
//   lumetra_e2e [--timeout MS] [--starting] COMMAND [ARGS...] [COMMAND [ARGS...]]...
//
// Commands run in order; those about the program find its one main window of class "LumetraWin"
// first. The driver reads what a user can see (titles, window places, dialog and status-bar
// texts, message boxes) and sends only what a menu click or the close box sends; keys and the
// mouse come from xdotool. The exit code is 0 when all commands succeeded, 1 after the first
// failure (its reason goes to stderr) and 2 for a bad command line.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "driver.h"

namespace {

void printLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int usage() {
    std::string text =
        "usage: lumetra_e2e [--timeout MS] [--starting] COMMAND [ARGS...]...\n"
        "  --starting: also find the main window while it is not shown yet\ncommands:\n";
    for (const e2e::Command& command : e2e::commandTable()) {
        text += std::string("  ") + command.name + " " + command.help + "\n";
    }
    std::fputs(text.c_str(), stderr);
    return 2;
}

const e2e::Command* findCommand(const std::wstring& name) {
    for (const e2e::Command& command : e2e::commandTable()) {
        if (e2e::toUtf8(name) == command.name) return &command;
    }
    return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::wstring> words(argv + 1, argv + argc);
    size_t at = 0;
    for (;;) {
        if (words.size() >= at + 2 && words[at] == L"--timeout") {
            e2e::gTimeoutMs = _wtoi(words[at + 1].c_str());
            at += 2;
        } else if (words.size() >= at + 1 && words[at] == L"--starting") {
            e2e::gAcceptHiddenMain = true;
            at += 1;
        } else {
            break;
        }
    }
    if (at >= words.size()) return usage();

    e2e::Session session;
    while (at < words.size()) {
        const e2e::Command* command = findCommand(words[at]);
        if (!command) {
            std::fprintf(stderr, "unknown command: %s\n", e2e::toUtf8(words[at]).c_str());
            return usage();
        }
        if (at + 1 + static_cast<size_t>(command->arguments) > words.size()) {
            std::fprintf(stderr, "%s needs %d argument(s)\n", command->name, command->arguments);
            return 2;
        }
        std::vector<std::wstring> args(
            words.begin() + static_cast<long>(at) + 1,
            words.begin() + static_cast<long>(at) + 1 + command->arguments);
        at += 1 + static_cast<size_t>(command->arguments);
        try {
            const std::string out = command->run(session, args);
            if (!out.empty()) printLine(out);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", command->name, error.what());
            return 1;
        }
    }
    return 0;
}
