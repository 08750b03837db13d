#include "batch_host.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ostream>

namespace lumetra {
namespace {

// "42%": the progress of part 1, updated every column; a batch run does not print it.
bool isProgress(const std::string& text) {
    return !text.empty() && text.back() == '%' &&
           text.find_first_not_of("0123456789") == text.size() - 1;
}

}  // namespace

BatchHost::BatchHost(std::ostream& out, std::ostream& err, std::filesystem::path output)
    : out_(out), err_(err), output_(std::move(output)) {}

void BatchHost::setStatusText(int part, const std::string& text) {
    if (part == 0) lastMessage_ = text;
    if (part == 2 || text.empty() || isProgress(text)) return;
    out_ << text << '\n';
}

std::uint32_t BatchHost::tickCount() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

LocalTime BatchHost::localTime() {
    return currentLocalTime();
}

void BatchHost::showWarning(const std::string& text, const std::string& caption) {
    err_ << caption << ": " << text << '\n';
}

bool BatchHost::askYesNo(const std::string& text, const std::string& caption) {
    // Too little memory for the sound: render straight into the output file. A write error:
    // keep nothing, so that no partial file is left behind.
    const bool yes = caption == "Memory Error";
    err_ << caption << ": " << text << (yes ? " Yes\n" : " No\n");
    return yes;
}

std::optional<std::filesystem::path> BatchHost::askSaveSoundPath(const std::string&) {
    return output_;
}

SystemError BatchHost::lastSystemError() {
    const int code = errno;
    return SystemError{code, std::strerror(code)};
}

}  // namespace lumetra
