#include "base/win/registry_value_store.h"

#include <cstring>

#include "base/registry_error.h"
#include "base/win/utf16.h"

namespace lumetra::win {
namespace {

StoredType storedType(DWORD type) {
    switch (type) {
        case REG_DWORD:
            return StoredType::Dword;
        case REG_BINARY:
            return StoredType::Binary;
        case REG_SZ:
        case REG_EXPAND_SZ:
            return StoredType::String;
        case REG_MULTI_SZ:
            return StoredType::MultiString;
        default:
            return StoredType::Other;
    }
}

std::vector<std::uint8_t> utf8FromRegistryText(const std::vector<BYTE>& data) {
    std::wstring wide(data.size() / sizeof(wchar_t), L'\0');  // an odd last byte is no character
    std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
    while (!wide.empty() && wide.back() == L'\0')
        wide.pop_back();
    const std::string text = toUtf8(wide);
    return {text.begin(), text.end()};
}

std::vector<BYTE> registryTextFromUtf8(const std::vector<std::uint8_t>& data,
                                       std::size_t terminators) {
    std::wstring wide = toUtf16(std::string(data.begin(), data.end()));
    wide.append(terminators, L'\0');
    std::vector<BYTE> bytes(wide.size() * sizeof(wchar_t));
    std::memcpy(bytes.data(), wide.data(), bytes.size());
    return bytes;
}

}  // namespace

StoredValue toStoredValue(const RegistryValue& value) {
    StoredValue stored{toUtf8(value.name), storedType(value.type), {}};
    if (stored.type == StoredType::String || stored.type == StoredType::MultiString)
        stored.data = utf8FromRegistryText(value.data);
    else
        stored.data.assign(value.data.begin(), value.data.end());
    return stored;
}

std::optional<RegistryValue> toRegistryValue(const StoredValue& value) {
    RegistryValue result{toUtf16(value.name), REG_NONE, {}};
    switch (value.type) {
        case StoredType::Dword:
            result.type = REG_DWORD;
            break;
        case StoredType::Binary:
            result.type = REG_BINARY;
            break;
        case StoredType::String:
            result.type = REG_SZ;
            result.data = registryTextFromUtf8(value.data, 1);
            return result;
        case StoredType::MultiString:
            // The last part's zero and the empty part that ends the list.
            result.type = REG_MULTI_SZ;
            result.data = registryTextFromUtf8(value.data, 2);
            return result;
        case StoredType::Other:
            return std::nullopt;
    }
    result.data.assign(value.data.begin(), value.data.end());
    return result;
}

RegistryValueStore::RegistryValueStore(HKEY root, std::wstring basePath)
    : root_(root), basePath_(std::move(basePath)) {}

RegistryKey RegistryValueStore::open(const std::string& key, unsigned flags) const {
    return RegistryKey(root_, basePath_ + toUtf16(key), flags);
}

bool RegistryValueStore::openKey(const std::string& key) {
    try {
        open(key, 0);
        return true;
    } catch (const RegistryError&) {
        return false;
    }
}

std::optional<StoredValue> RegistryValueStore::readValue(const std::string& key,
                                                         const std::string& name) {
    try {
        RegistryKey registryKey = open(key, RegistryKey::kOpenExisting | RegistryKey::kReadAccess);
        const auto value = registryKey.readValue(toUtf16(name));
        if (!value) return std::nullopt;
        return toStoredValue(*value);
    } catch (const RegistryError&) {
        return std::nullopt;
    }
}

int RegistryValueStore::writeValue(const std::string& key, const StoredValue& value) {
    const auto converted = toRegistryValue(value);
    if (!converted) return ERROR_INVALID_DATATYPE;
    try {
        RegistryKey registryKey = open(key, 0);
        if (registryKey.writeValue(converted->name, converted->type, converted->data)) return 0;
        return registryKey.lastError().value();
    } catch (const RegistryError& error) {
        return error.code();
    }
}

int RegistryValueStore::deleteValue(const std::string& key, const std::string& name) {
    try {
        RegistryKey registryKey = open(key, RegistryKey::kOpenExisting);
        if (registryKey.deleteValue(toUtf16(name))) return 0;
        return registryKey.lastError().value();
    } catch (const RegistryError& error) {
        // No key, no value: nothing to delete.
        return error.code() == ERROR_FILE_NOT_FOUND ? 0 : error.code();
    }
}

std::vector<StoredValue> RegistryValueStore::enumerateValues(const std::string& key) {
    RegistryKey registryKey = open(key, RegistryKey::kOpenExisting | RegistryKey::kReadAccess);
    std::vector<StoredValue> values;
    for (const RegistryValue& value : registryKey.enumerateValues())
        values.push_back(toStoredValue(value));
    return values;
}

}  // namespace lumetra::win
