#pragma once
// The settings value store of the Windows program: the registry under the program's key. Texts
// and names are UTF-8 in the core and UTF-16 at the registry. Every value comes back with the
// type and size it is stored with, so that the core's rules decide what to make of a value that
// something else wrote with another type or size.

#include <windows.h>

#include <string>

#include "base/settings_value_store.h"
#include "base/win/registry_key.h"

namespace lumetra::win {

class RegistryValueStore final : public SettingsValueStore {
  public:
    // Keys are named relative to `basePath` (ending in a backslash) under `root`.
    explicit RegistryValueStore(HKEY root = HKEY_CURRENT_USER,
                                std::wstring basePath = std::wstring(kSettingsKeyPath));

    bool openKey(const std::string& key) override;
    std::optional<StoredValue> readValue(const std::string& key, const std::string& name) override;
    // Writing a value of type Other is refused with ERROR_INVALID_DATATYPE: it has no registry
    // type to go back to.
    int writeValue(const std::string& key, const StoredValue& value) override;
    int deleteValue(const std::string& key, const std::string& name) override;
    std::vector<StoredValue> enumerateValues(const std::string& key) override;

  private:
    RegistryKey open(const std::string& key, unsigned flags) const;

    HKEY root_;
    std::wstring basePath_;
};

// The conversions at the registry: registry strings are UTF-16 with terminating zeros, the
// store's texts UTF-8 without them (multi-string parts joined by single zeros).
StoredValue toStoredValue(const RegistryValue& value);
// nullopt for a value of type Other.
std::optional<RegistryValue> toRegistryValue(const StoredValue& value);

}  // namespace lumetra::win
