#include "cli/render/batch_host.h"

#include <ostream>

namespace lumetra {
namespace {

// "42%": the progress of part 1, updated every column; a batch run does not print it.
bool isProgress(const std::string& text) {
    return !text.empty() && text.back() == '%' &&
           text.find_first_not_of("0123456789") == text.size() - 1;
}

// The program's hint about Esc, which a command line does not have.
constexpr std::string_view kEscapeHint = " (Hold down Esc to terminate)";

}  // namespace

void BatchUserInterface::setStatusText(int part, const std::string& text) {
    if (part == 0) lastMessage_ = text;
    if (part == 2 || text.empty() || isProgress(text)) return;
    out_ << (text.ends_with(kEscapeHint) ? text.substr(0, text.size() - kEscapeHint.size()) : text)
         << '\n';
}

void BatchUserInterface::showWarning(const std::string& text, const std::string& caption) {
    err_ << caption << ": " << text << '\n';
}

bool BatchUserInterface::askYesNo(const std::string& text, const std::string& caption) {
    // Too little memory for the sound: render straight into the output file. A write error:
    // keep nothing, so that no partial file is left behind.
    const bool yes = caption == "Memory Error";
    err_ << caption << ": " << text << (yes ? " Yes\n" : " No\n");
    return yes;
}

bool BatchUserInterface::askOkCancel(const std::string& text, const std::string& caption) {
    err_ << caption << ": " << text << " Cancel\n";
    return false;
}

}  // namespace lumetra
