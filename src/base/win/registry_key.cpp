#include "base/win/registry_key.h"

#include <algorithm>
#include <utility>

#include "base/registry_error.h"

namespace lumetra::win {
namespace {

constexpr std::string_view kCopyFailed = "Could not copy key handle";
constexpr std::string_view kOpenFailed = "Could not open new key handle";
constexpr std::string_view kEnumerationFailed = "Value enumeration failure";

// A value or its size may change between two calls; after this many tries we give up.
constexpr int kReadTries = 8;
// Registry value names have at most 16383 characters.
constexpr DWORD kMaxValueNameLength = 16383;

// A key that may have to be created needs the right to create below its parent, so a read-only
// open that creates asks for that right as well (on every level it pushes).
REGSAM accessFromFlags(unsigned flags) {
    const bool read = (flags & RegistryKey::kReadAccess) != 0;
    const bool write = (flags & RegistryKey::kWriteAccess) != 0;
    const REGSAM create = (flags & RegistryKey::kOpenExisting) ? 0 : KEY_CREATE_SUB_KEY;
    if (read && !write) return KEY_READ | create;
    if (write && !read) return KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
    return KEY_ALL_ACCESS;
}

// A key path is given as the program forms it, with a trailing backslash ("Windows\"); the
// registry wants the bare names.
std::wstring keyPath(std::wstring_view path) {
    while (!path.empty() && path.back() == L'\\')
        path.remove_suffix(1);
    return std::wstring(path);
}

}  // namespace

RegistryKey::RegistryKey(HKEY root, std::wstring_view path, unsigned flags) {
    open(root, path, flags);
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : handles_(std::move(other.handles_)), lastError_(other.lastError_) {
    other.handles_.clear();
}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        close();
        handles_ = std::move(other.handles_);
        other.handles_.clear();
        lastError_ = other.lastError_;
    }
    return *this;
}

bool RegistryKey::record(LSTATUS status) {
    lastError_.assign(int(status), boost::system::system_category());
    return status == ERROR_SUCCESS;
}

bool RegistryKey::requireOpen() {
    return isOpen() || record(ERROR_INVALID_HANDLE);
}

void RegistryKey::open(HKEY root, std::wstring_view path, unsigned flags) {
    close();
    HKEY copy = nullptr;
    // The copy lets the caller close its root (or pass a predefined one) without affecting us.
    if (!record(RegOpenKeyExW(root, L"", 0, accessFromFlags(flags), &copy)))
        throw RegistryError(kCopyFailed, lastError_.value());
    handles_.emplace_back(copy);
    if (!keyPath(path).empty()) subkey(path, flags);
}

void RegistryKey::subkey(std::wstring_view name, unsigned flags) {
    if (!requireOpen()) throw RegistryError(kOpenFailed, lastError_.value());
    const std::wstring path = keyPath(name);
    const REGSAM access = accessFromFlags(flags);
    HKEY key = nullptr;
    LSTATUS status;
    if (flags & kOpenExisting) {
        status = RegOpenKeyExW(handle(), path.c_str(), 0, access, &key);
    } else {
        std::wstring keyClass(kSettingsKeyClass);
        status = RegCreateKeyExW(handle(), path.c_str(), 0, keyClass.data(),
                                 REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    }
    if (!record(status)) throw RegistryError(kOpenFailed, lastError_.value());
    handles_.emplace_back(key);
}

void RegistryKey::close() noexcept {
    // Innermost first: a key goes before the key it was opened below.
    while (!handles_.empty())
        handles_.pop_back();
}

std::optional<RegistryValue> RegistryKey::readValue(std::wstring_view name) {
    if (!requireOpen()) return std::nullopt;
    RegistryValue value{std::wstring(name), REG_NONE, {}};
    DWORD size = 0;
    LSTATUS status =
        RegQueryValueExW(handle(), value.name.c_str(), nullptr, &value.type, nullptr, &size);
    // The value may grow between asking for its size and reading it: then ask again.
    for (int tries = 0;
         tries < kReadTries && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA); ++tries) {
        value.data.assign(std::max<DWORD>(size, 1), 0);
        DWORD got = DWORD(value.data.size());
        status = RegQueryValueExW(handle(), value.name.c_str(), nullptr, &value.type,
                                  value.data.data(), &got);
        if (status == ERROR_SUCCESS) {
            value.data.resize(got);
            record(status);
            return value;
        }
        size = got;
    }
    record(status);
    return std::nullopt;
}

bool RegistryKey::writeValue(std::wstring_view name, DWORD type, std::span<const BYTE> data) {
    if (!requireOpen()) return false;
    if (data.size() > MAXDWORD) return record(ERROR_INVALID_PARAMETER);
    const std::wstring n(name);
    return record(RegSetValueExW(handle(), n.c_str(), 0, type, data.data(), DWORD(data.size())));
}

bool RegistryKey::deleteValue(std::wstring_view name) {
    if (!requireOpen()) return false;
    const std::wstring n(name);
    const LSTATUS status = RegDeleteValueW(handle(), n.c_str());
    return record(status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status);
}

std::vector<RegistryValue> RegistryKey::enumerateValues() {
    if (!requireOpen()) throw RegistryError(kEnumerationFailed, lastError_.value());
    DWORD maxName = 0;
    DWORD maxData = 0;
    if (!record(RegQueryInfoKeyW(handle(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, &maxName, &maxData, nullptr, nullptr)))
        throw RegistryError(kEnumerationFailed, lastError_.value());
    std::vector<wchar_t> name(std::size_t(maxName) + 1);
    std::vector<BYTE> data(std::max<DWORD>(maxData, 1));
    std::vector<RegistryValue> values;
    int tries = 0;
    for (DWORD index = 0;;) {
        DWORD nameLength = DWORD(name.size());
        DWORD dataSize = DWORD(data.size());
        DWORD type = REG_NONE;
        const LSTATUS status = RegEnumValueW(handle(), index, name.data(), &nameLength, nullptr,
                                             &type, data.data(), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        // A value written since the sizes were asked for needs larger buffers.
        if (status == ERROR_MORE_DATA && ++tries < kReadTries) {
            name.resize(std::max<std::size_t>(name.size(), kMaxValueNameLength + 1));
            data.resize(std::max<std::size_t>(data.size() * 2, dataSize));
            continue;
        }
        if (!record(status)) throw RegistryError(kEnumerationFailed, lastError_.value());
        values.push_back({std::wstring(name.data(), nameLength), type,
                          std::vector<BYTE>(data.begin(), data.begin() + dataSize)});
        tries = 0;
        ++index;
    }
    record(ERROR_SUCCESS);
    return values;
}

}  // namespace lumetra::win
