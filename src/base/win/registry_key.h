#pragma once
// An open registry key: a stack of key handles, first a private copy of a root key, then each
// subkey opened below it; every operation acts on the innermost key. The result of the last
// registry call is kept as an error code of the system category. Opening a key and enumerating
// its values throw RegistryError with the system's own text; reads and writes report through
// their results and lastError(), so that a caller can go on with the next value.

#include <windows.h>

#include <boost/noncopyable.hpp>
#include <boost/system/error_code.hpp>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/win/unique_handle.h"

namespace lumetra::win {

// The program's key under HKEY_CURRENT_USER; the trailing backslash is part of the text, so
// subkey paths are formed by appending "Windows\" and the like.
inline constexpr std::wstring_view kSettingsKeyPath = L"Software\\Velloforge\\Lumetra\\";
// The class string of the keys the program creates.
inline constexpr std::wstring_view kSettingsKeyClass = L"LumetraWin";

struct RegistryValue {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

class RegistryKey : private boost::noncopyable {
  public:
    // Flags of open and subkey.
    static constexpr unsigned kOpenExisting = 1;  // clear: create the key when it is missing
    static constexpr unsigned kReadAccess = 2;
    static constexpr unsigned kWriteAccess = 4;  // set value and create subkey
    // Both access bits, or neither, ask for all access.

    RegistryKey() = default;
    // See open().
    RegistryKey(HKEY root, std::wstring_view path, unsigned flags = 0);
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    ~RegistryKey() { close(); }

    // Closes what is open, copies `root` and opens (or creates) `path` below it. Throws
    // RegistryError "Could not copy key handle" or "Could not open new key handle".
    void open(HKEY root, std::wstring_view path, unsigned flags = 0);
    // Opens or creates `name` (a path of one or more levels) below the innermost key and pushes
    // it. Throws RegistryError "Could not open new key handle".
    void subkey(std::wstring_view name, unsigned flags = 0);
    // Closes the subkeys innermost first, then the root copy.
    void close() noexcept;

    bool isOpen() const { return !handles_.empty(); }
    HKEY handle() const { return handles_.empty() ? nullptr : handles_.back().get(); }
    const boost::system::error_code& lastError() const { return lastError_; }

    // The value as stored, whatever its type and size; nullopt when it is missing or cannot be
    // read (lastError() tells which).
    std::optional<RegistryValue> readValue(std::wstring_view name);

    // Writes return false on failure, with the code in lastError().
    bool writeValue(std::wstring_view name, DWORD type, std::span<const BYTE> data);
    // A value that does not exist counts as deleted.
    bool deleteValue(std::wstring_view name);

    // Every value of the innermost key, in the registry's own enumeration order. Throws
    // RegistryError "Value enumeration failure".
    std::vector<RegistryValue> enumerateValues();

  private:
    bool record(LSTATUS status);
    bool requireOpen();

    std::vector<UniqueKey> handles_;  // the root copy first, the innermost key last
    boost::system::error_code lastError_;
};

}  // namespace lumetra::win
