// lumetra_e2e: drives a running Lumetra.exe from outside, for the end-to-end scenarios.
//
//   lumetra_e2e [--timeout MS] [--starting] COMMAND [ARGS...] [COMMAND [ARGS...]]...
//
// Commands run in order; those about the program find its one main window of class "LumetraWin"
// first. The driver reads what a user can see and sends only what a menu click or the close box
// sends; keys and the mouse come from xdotool. The exit code is 0 when all commands succeeded, 1
// after the first failure (its reason goes to stderr) and 2 for a bad command line.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "driver.h"

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
    for (;; ++at) {
        if (words.size() >= at + 2 && words[at] == L"--timeout") {
            e2e::gTimeoutMs = _wtoi(words[++at].c_str());
        } else if (words.size() >= at + 1 && words[at] == L"--starting") {
            e2e::gAcceptHiddenMain = true;
        } else {
            break;
        }
    }
    if (at >= words.size()) return usage();
    e2e::Session session;
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
