#pragma once
// A settings value store over maps, with switches that make keys, writes or enumeration fail.
// Values are kept in the order they were first written, which is also the enumeration order.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/settings_value_store.h"

namespace lumetra::test {

class MemoryValueStore : public SettingsValueStore {
  public:
    bool openKey(const std::string& key) override;
    std::optional<StoredValue> readValue(const std::string& key, const std::string& name) override;
    int writeValue(const std::string& key, const StoredValue& value) override;
    int deleteValue(const std::string& key, const std::string& name) override;
    std::vector<StoredValue> enumerateValues(const std::string& key) override;

    // Direct access for tests (no failure switches apply).
    void put(const std::string& key, StoredValue value);
    const StoredValue* find(const std::string& key, const std::string& name) const;
    std::vector<std::string> names(const std::string& key) const;
    std::size_t valueCount() const;

    std::set<std::string> failingKeys;      // openKey and enumerate fail for these
    std::set<std::string> failingWrites;    // value names whose writes fail
    int writeErrorCode = 5;                 // the system's "access denied"
    std::vector<std::string> openedKeys;    // every openKey call, in order
    std::vector<std::string> writtenNames;  // every successful write, in order
    std::vector<std::string> readNames;     // every readValue call, in order

  private:
    std::map<std::string, std::vector<StoredValue>> keys_;
};

}  // namespace lumetra::test
