#include "cli/command_line.h"

namespace lumetra {

bool readWord(std::string_view text, std::uint32_t& value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        const auto [end, error] =
            std::from_chars(text.data(), text.data() + text.size(), value, 16);
        return error == std::errc() && end == text.data() + text.size();
    }
    return readNumber(text, value);
}

bool readNumberList(std::string_view text, std::span<std::int32_t> values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        const bool last = i + 1 == values.size();
        const std::size_t comma = last ? text.size() : text.find(',');
        if (comma == std::string_view::npos || !readNumber(text.substr(0, comma), values[i]))
            return false;
        text.remove_prefix(last ? text.size() : comma + 1);
    }
    return true;
}

bool readRect(std::string_view text, Rect& rect) {
    std::int32_t values[4] = {};
    if (!readNumberList(text, values)) return false;
    rect = Rect{values[0], values[1], values[2], values[3]};
    return true;
}

bool refuse(std::string& message, std::string text) {
    message = std::move(text);
    return false;
}

bool twoFileNames(const std::vector<std::string>& files, std::string_view names,
                  std::string& message) {
    if (files.size() == 2) return true;
    return refuse(message,
                  files.size() < 2 ? "Missing " + std::string(names) : "Too many file names");
}

}  // namespace lumetra
