#pragma once
// The port through which settings and the recent-files list reach their persistent store: the
// registry under the program's base key on Windows, a map in tests. Keys are named relative to the
// base key ("" is the base key itself, then "Windows\", "Directories\", "RecentFiles").

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumetra {

enum class StoredType : std::uint8_t { Dword, Binary, String, MultiString, Other };

// One stored value as the store holds it. Strings travel as UTF-8 text without a terminating
// zero (a multi-string as its parts joined by zero bytes); the Windows store converts to and from
// its wide form. DWORDs are their 4 little-endian bytes.
struct StoredValue {
    std::string name;
    StoredType type = StoredType::Other;
    std::vector<std::uint8_t> data;
};

class SettingsValueStore {
  public:
    virtual ~SettingsValueStore() = default;

    // Opens the key, creating it when missing. False when it can be neither opened nor created.
    virtual bool openKey(const std::string& key) = 0;
    // The value as stored, whatever its type and size; nullopt when missing or unreadable.
    virtual std::optional<StoredValue> readValue(const std::string& key,
                                                 const std::string& name) = 0;
    // Writes (replacing) one value. Returns 0 or the system's error code.
    virtual int writeValue(const std::string& key, const StoredValue& value) = 0;
    // Removes one value. Returns 0, or the system's error code (a missing value is not an error).
    virtual int deleteValue(const std::string& key, const std::string& name) = 0;
    // Every value of the key in the store's own order. Throws RegistryError when the key cannot
    // be read through.
    virtual std::vector<StoredValue> enumerateValues(const std::string& key) = 0;
};

// Typed views of stored values. A value of another type or size reads as nothing, so that a
// value written by something else can never be taken for a setting.
std::optional<std::uint32_t> dwordFrom(const StoredValue& value);
std::optional<std::string> textFrom(const StoredValue& value);  // String or the first part of a
                                                                // MultiString

StoredValue dwordValue(const std::string& name, std::uint32_t number);
StoredValue binaryValue(const std::string& name, std::span<const std::uint8_t> bytes);
StoredValue textValue(const std::string& name, const std::string& text);

}  // namespace lumetra
