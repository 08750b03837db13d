#include "base/settings_value_store.h"

#include <algorithm>

namespace lumetra {

std::optional<std::uint32_t> dwordFrom(const StoredValue& value) {
    if (value.type != StoredType::Dword || value.data.size() != 4) return std::nullopt;
    return std::uint32_t(value.data[0]) | std::uint32_t(value.data[1]) << 8 |
           std::uint32_t(value.data[2]) << 16 | std::uint32_t(value.data[3]) << 24;
}

std::optional<std::string> textFrom(const StoredValue& value) {
    if (value.type != StoredType::String && value.type != StoredType::MultiString)
        return std::nullopt;
    // Text stops at the first zero: the end of a multi-string's first part, or a terminator that
    // a foreign writer stored with the text.
    const auto end = std::find(value.data.begin(), value.data.end(), std::uint8_t{0});
    return std::string(value.data.begin(), end);
}

StoredValue dwordValue(const std::string& name, std::uint32_t number) {
    return StoredValue{name,
                       StoredType::Dword,
                       {std::uint8_t(number), std::uint8_t(number >> 8), std::uint8_t(number >> 16),
                        std::uint8_t(number >> 24)}};
}

StoredValue binaryValue(const std::string& name, std::span<const std::uint8_t> bytes) {
    return StoredValue{name, StoredType::Binary, {bytes.begin(), bytes.end()}};
}

StoredValue textValue(const std::string& name, const std::string& text) {
    return StoredValue{name, StoredType::String, {text.begin(), text.end()}};
}

}  // namespace lumetra
