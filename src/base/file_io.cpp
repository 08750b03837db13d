#include "base/file_io.h"

#include <fstream>
#include <system_error>

namespace lumetra {

std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool readWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                   std::string& message, std::uintmax_t maxBytes) {
    std::error_code error;
    const std::uintmax_t length = std::filesystem::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (error || !in) {
        message = "Could not open " + pathText(path);
        return false;
    }
    if (length > maxBytes) {
        message = "Picture too large";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(length));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(length));
    if (static_cast<std::uintmax_t>(in.gcount()) != length) {
        message = "Could not read " + pathText(path);
        bytes.clear();
        return false;
    }
    return true;
}

std::filesystem::path pendingFileName(const std::filesystem::path& target) {
    std::filesystem::path pending = target;
    pending += ".saving";
    return pending;
}

bool replaceFileWith(const std::filesystem::path& target,
                     std::initializer_list<std::span<const std::uint8_t>> pieces) {
    const std::filesystem::path pending = pendingFileName(target);
    bool written = false;
    {
        std::ofstream out(pending, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        for (auto piece : pieces)
            out.write(reinterpret_cast<const char*>(piece.data()),
                      static_cast<std::streamsize>(piece.size()));
        out.flush();
        written = out.good();
        out.close();
        written = written && !out.fail();
    }
    std::error_code error;
    if (written) std::filesystem::rename(pending, target, error);
    if (!written || error) {
        std::filesystem::remove(pending, error);
        return false;
    }
    return true;
}

}  // namespace lumetra
