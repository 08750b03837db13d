#include "memory_value_store.h"

#include <algorithm>

#include "base/registry_error.h"

namespace lumetra::test {

bool MemoryValueStore::openKey(const std::string& key) {
    openedKeys.push_back(key);
    if (failingKeys.count(key)) return false;
    keys_[key];
    return true;
}

std::optional<StoredValue> MemoryValueStore::readValue(const std::string& key,
                                                       const std::string& name) {
    readNames.push_back(name);
    if (const StoredValue* value = find(key, name)) return *value;
    return std::nullopt;
}

int MemoryValueStore::writeValue(const std::string& key, const StoredValue& value) {
    if (failingWrites.count(value.name)) return writeErrorCode;
    put(key, value);
    writtenNames.push_back(value.name);
    return 0;
}

int MemoryValueStore::deleteValue(const std::string& key, const std::string& name) {
    auto& values = keys_[key];
    std::erase_if(values, [&](const StoredValue& v) { return v.name == name; });
    return 0;
}

std::vector<StoredValue> MemoryValueStore::enumerateValues(const std::string& key) {
    if (failingKeys.count(key)) throw RegistryError("Value enumeration failure", 2);
    return keys_[key];
}

void MemoryValueStore::put(const std::string& key, StoredValue value) {
    auto& values = keys_[key];
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const StoredValue& v) { return v.name == value.name; });
    if (it != values.end())
        *it = std::move(value);
    else
        values.push_back(std::move(value));
}

const StoredValue* MemoryValueStore::find(const std::string& key, const std::string& name) const {
    auto k = keys_.find(key);
    if (k == keys_.end()) return nullptr;
    for (const StoredValue& v : k->second)
        if (v.name == name) return &v;
    return nullptr;
}

std::vector<std::string> MemoryValueStore::names(const std::string& key) const {
    std::vector<std::string> result;
    auto k = keys_.find(key);
    if (k != keys_.end())
        for (const StoredValue& v : k->second)
            result.push_back(v.name);
    return result;
}

std::size_t MemoryValueStore::valueCount() const {
    std::size_t n = 0;
    for (const auto& [key, values] : keys_)
        n += values.size();
    return n;
}

}  // namespace lumetra::test
