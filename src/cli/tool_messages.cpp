#include "cli/tool_messages.h"

#include <exception>
#include <new>
#include <system_error>

#include "cli/exit_codes.h"

namespace lumetra {

TaggedLines::TaggedLines(std::ostream& to, std::string tag)
    : std::ostream(static_cast<std::streambuf*>(this)), to_(to), tag_(std::move(tag)) {}

int TaggedLines::overflow(int c) {
    if (c == std::char_traits<char>::eof()) return std::char_traits<char>::not_eof(c);
    if (lineStart_) to_ << tag_;
    to_.put(static_cast<char>(c));
    lineStart_ = c == '\n';
    return c;
}

std::string systemReason(FileSystem& files) {
    const SystemError error = files.lastError();
    return "Error " + std::to_string(error.code) + ": " + error.text;
}

namespace {

std::filesystem::path resolved(FileSystem& files, const std::filesystem::path& path) {
    std::filesystem::path full = path;
    if (full.is_relative()) {
        if (const auto current = files.currentDirectory()) full = *current / full;
    }
    return files.longPath(full.lexically_normal());
}

}  // namespace

bool sameFile(FileSystem& files, const std::filesystem::path& input,
              const std::filesystem::path& output) {
    if (resolved(files, input) == resolved(files, output)) return true;
    std::error_code error;
    return std::filesystem::equivalent(input, output, error) && !error;
}

int runGuarded(const char* name, std::ostream& err, const std::function<int()>& tool) {
    try {
        return tool();
    } catch (const std::bad_alloc&) {
        err << name << ": Not enough memory for this operation.\n";
    } catch (const std::exception& e) {
        err << name << ": Unexpected failure: " << e.what() << '\n';
    } catch (...) {
        err << name << ": Unexpected failure.\n";
    }
    return kBatchFailed;
}

}  // namespace lumetra
