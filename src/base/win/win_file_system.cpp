#include "base/win/win_file_system.h"

#include <windows.h>

#include <algorithm>
#include <functional>

#include "base/win/long_paths.h"
#include "base/win/text.h"
#include "base/win/unique_handle.h"
#include "base/win/utf16.h"

namespace lumetra::win {
namespace {

// Paths and variables reach at most 32767 characters.
constexpr DWORD kMaxWideText = 32768;

std::wstring apiPath(const std::filesystem::path& path) {
    return toApiPath(toUtf8(path.native()));
}

std::filesystem::path fromApi(std::wstring_view path) {
    return std::filesystem::path(toUtf16(fromApiPath(path)));
}

using PathConversion = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);

// Both conversions return the size they need (with the terminating zero) when the buffer is too
// small, and the length they wrote (without it) otherwise.
std::optional<std::wstring> convert(PathConversion conversion, const std::wstring& path) {
    DWORD size = MAX_PATH;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::wstring result(size, L'\0');
        const DWORD n = conversion(path.c_str(), result.data(), size);
        if (n == 0) return std::nullopt;
        if (n < size) {
            result.resize(n);
            return result;
        }
        size = n;
    }
    return std::nullopt;
}

// A sink reports its failures through the file system that made it.
class WinFileSink final : public FileSink {
  public:
    WinFileSink(UniqueFile file, unsigned long& lastError)
        : file_(std::move(file)), lastError_(lastError) {}

    std::size_t write(const void* data, std::size_t bytes) override {
        std::size_t done = 0;
        const auto* p = static_cast<const BYTE*>(data);
        while (done < bytes) {
            const DWORD chunk = DWORD(std::min<std::size_t>(bytes - done, 1u << 30));
            DWORD written = 0;
            if (!WriteFile(file_.get(), p + done, chunk, &written, nullptr) || written == 0) {
                lastError_ = GetLastError();
                break;
            }
            done += written;
        }
        return done;
    }
    bool rewriteStart(const void* data, std::size_t bytes) override {
        LARGE_INTEGER start{};
        if (!SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN)) {
            lastError_ = GetLastError();
            return false;
        }
        return write(data, bytes) == bytes;
    }
    bool close() override {
        const bool flushed = FlushFileBuffers(file_.get()) != FALSE;
        if (!flushed) lastError_ = GetLastError();
        const bool closed = CloseHandle(file_.release()) != FALSE;
        if (flushed && !closed) lastError_ = GetLastError();
        return flushed && closed;
    }

  private:
    UniqueFile file_;
    unsigned long& lastError_;
};

}  // namespace

bool WinFileSystem::failed() {
    lastError_ = GetLastError();
    return false;
}

std::unique_ptr<FileSink> WinFileSystem::create(const std::filesystem::path& path) {
    UniqueFile file(CreateFileW(apiPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        failed();
        return nullptr;
    }
    return std::make_unique<WinFileSink>(std::move(file), lastError_);
}

namespace {

class WinFileSource final : public FileSource {
  public:
    WinFileSource(UniqueFile file, std::uintmax_t size, std::function<void()> failed)
        : file_(std::move(file)), size_(size), failed_(std::move(failed)) {}

    std::uintmax_t size() const override { return size_; }
    bool readAt(std::uintmax_t offset, std::span<std::uint8_t> bytes) override {
        if (offset > size_ || bytes.size() > size_ - offset) return false;
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN)) return fail();
        std::size_t done = 0;
        while (done < bytes.size()) {
            const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 30));
            DWORD got = 0;
            if (!ReadFile(file_.get(), bytes.data() + done, chunk, &got, nullptr) || got == 0)
                return fail();
            done += got;
        }
        return true;
    }

  private:
    bool fail() {
        failed_();
        return false;
    }

    UniqueFile file_;
    std::uintmax_t size_;
    std::function<void()> failed_;
};

}  // namespace

std::unique_ptr<FileSource> WinFileSystem::openForReading(const std::filesystem::path& path) {
    UniqueFile file(CreateFileW(apiPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) {
        failed();
        return nullptr;
    }
    return std::make_unique<WinFileSource>(std::move(file), std::uintmax_t(size.QuadPart),
                                           [this] { failed(); });
}

ReadOutcome WinFileSystem::read(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                                std::uintmax_t maxBytes) {
    UniqueFile file(CreateFileW(apiPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) {
        failed();
        return ReadOutcome::CannotOpen;
    }
    if (std::uintmax_t(size.QuadPart) > maxBytes) return ReadOutcome::TooLarge;
    bytes.resize(std::size_t(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &got, nullptr) || got == 0) {
            failed();
            bytes.clear();
            return ReadOutcome::CannotRead;
        }
        done += got;
    }
    return ReadOutcome::Read;
}

bool WinFileSystem::truncate(const std::filesystem::path& path, std::uintmax_t size) {
    UniqueFile file(CreateFileW(apiPath(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER end{};
    end.QuadPart = LONGLONG(size);
    if (!file || !SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) ||
        !SetEndOfFile(file.get())) {
        return failed();
    }
    return true;
}

bool WinFileSystem::replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (!MoveFileExW(apiPath(from).c_str(), apiPath(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return failed();
    }
    return true;
}

bool WinFileSystem::remove(const std::filesystem::path& path) {
    if (DeleteFileW(apiPath(path).c_str())) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
    lastError_ = error;
    return false;
}

SystemError WinFileSystem::lastError() {
    return SystemError{int(lastError_), toUtf8(systemErrorText(lastError_))};
}

std::optional<EntryAttributes> WinFileSystem::attributes(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(apiPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return EntryAttributes{(attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (attributes & FILE_ATTRIBUTE_READONLY) != 0};
}

bool WinFileSystem::createDirectory(const std::filesystem::path& path) {
    return CreateDirectoryW(apiPath(path).c_str(), nullptr) != 0 || failed();
}

std::optional<std::vector<FolderEntry>> WinFileSystem::listFolder(
    const std::filesystem::path& folder) {
    std::wstring pattern = apiPath(folder);
    if (pattern.empty()) {
        lastError_ = ERROR_PATH_NOT_FOUND;
        return std::nullopt;
    }
    if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    UniqueFind find(FindFirstFileW(pattern.c_str(), &found));
    if (!find) {
        failed();
        return std::nullopt;
    }
    std::vector<FolderEntry> entries;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        entries.push_back(FolderEntry{std::filesystem::path(std::wstring(name)),
                                      std::filesystem::path(std::wstring(found.cAlternateFileName)),
                                      (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(find.get(), &found));
    // The listing ends with "no more files"; anything else lost part of it.
    if (GetLastError() != ERROR_NO_MORE_FILES) {
        failed();
        return std::nullopt;
    }
    return entries;
}

std::filesystem::path WinFileSystem::shortPath(const std::filesystem::path& path) {
    // The full path first: the extended-length form, when it is needed, wants a full path.
    const std::wstring full = toApiPath(toUtf8(fullPathName(path.native())));
    const auto converted = convert(&GetShortPathNameW, full);
    return converted ? fromApi(*converted) : path;
}

std::filesystem::path WinFileSystem::longPath(const std::filesystem::path& path) {
    const auto converted = convert(&GetLongPathNameW, apiPath(path));
    return converted ? fromApi(*converted) : path;
}

std::optional<std::filesystem::path> WinFileSystem::modulePath() {
    // GetModuleFileNameW cuts the path to the buffer without saying how much it needs: a result
    // that fills the buffer may be cut, so try again with more room.
    for (DWORD size = MAX_PATH; size <= kMaxWideText; size *= 2) {
        std::wstring path(size, L'\0');
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), size);
        if (n == 0) return std::nullopt;
        if (n < size) {
            path.resize(n);
            return fromApi(path);
        }
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> WinFileSystem::currentDirectory() {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD needed = GetCurrentDirectoryW(0, nullptr);  // with the terminating zero
        if (needed == 0) return std::nullopt;
        std::wstring path(needed, L'\0');
        const DWORD n = GetCurrentDirectoryW(needed, path.data());
        if (n == 0) return std::nullopt;
        if (n < needed) {
            path.resize(n);
            return fromApi(path);
        }
        // Another thread changed the directory to a longer one in between.
    }
    return std::nullopt;
}

std::optional<std::string> WinFileSystem::environmentVariable(const std::string& name) {
    const std::wstring wideName = toUtf16(name);
    for (int attempt = 0; attempt < 4; ++attempt) {
        SetLastError(ERROR_SUCCESS);
        const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
        if (needed == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        std::wstring value(needed, L'\0');
        SetLastError(ERROR_SUCCESS);
        const DWORD n = GetEnvironmentVariableW(wideName.c_str(), value.data(), needed);
        if (n == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        if (n < needed) {
            value.resize(n);
            return toUtf8(value);
        }
    }
    return std::nullopt;
}

}  // namespace lumetra::win
