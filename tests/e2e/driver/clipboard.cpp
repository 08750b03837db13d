// The driver as another program on the clipboard: it puts a picture there as most programs do
// (32 bits a pixel, top-down, bit-field masks) and reads the program's picture back the way old
// programs do (a CF_BITMAP handle and GetDIBits). Files hold the plain top-down rows of 32-bit
// pixels (blue, green, red, unused), as ImageMagick's "bgra:" format has them.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "driver.h"

namespace e2e {
namespace {

// The clipboard for one scope, opened without an owner window, as a console program does.
lumetra::win::UniqueClipboard openClipboard() {
    for (int tries = 0;; ++tries) {
        if (auto clipboard = lumetra::win::openClipboard(nullptr)) return clipboard;
        if (tries == 50) throwLastError("OpenClipboard");
        Sleep(20);
    }
}

BITMAPINFOHEADER topDown32(LONG width, LONG height, DWORD compression) {
    return {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, compression, 0, 0, 0, 0, 0};
}

}  // namespace

std::string clipboardPut32(Session&, const Args& a) {
    const LONG width = _wtoi(a[0].c_str()), height = _wtoi(a[1].c_str());
    std::ifstream in(std::filesystem::path(a[2]), std::ios::binary);
    const std::string pixels((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    if (width <= 0 || height <= 0 || pixels.size() != 4 * size_t(width) * size_t(height))
        throw DriverError("not " + toUtf8(a[0]) + " x " + toUtf8(a[1]) + " pixels of 4 bytes");
    const BITMAPINFOHEADER header = topDown32(width, height, BI_BITFIELDS);
    const DWORD masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    lumetra::win::UniqueGlobal memory(
        GlobalAlloc(GMEM_MOVEABLE, sizeof header + sizeof masks + pixels.size()));
    if (!memory) throwLastError("GlobalAlloc");
    {
        auto lock = lumetra::win::lockGlobal(memory.get());
        auto* block = static_cast<char*>(lock.get().data);
        std::memcpy(block, &header, sizeof header);
        std::memcpy(block + sizeof header, masks, sizeof masks);
        std::memcpy(block + sizeof header + sizeof masks, pixels.data(), pixels.size());
    }
    auto clipboard = openClipboard();
    EmptyClipboard();
    if (!SetClipboardData(CF_DIB, memory.get())) throwLastError("SetClipboardData");
    memory.release();  // the clipboard's now
    return {};
}

std::string clipboardSaveBitmap(Session&, const Args& a) {
    std::string pixels;
    BITMAP description{};
    {
        auto clipboard = openClipboard();
        HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        if (!bitmap) throwLastError("GetClipboardData(CF_BITMAP)");
        if (!GetObjectW(bitmap, sizeof description, &description)) throwLastError("GetObject");
        BITMAPINFO info{};
        info.bmiHeader = topDown32(description.bmWidth, description.bmHeight, BI_RGB);
        pixels.resize(4 * size_t(description.bmWidth) * size_t(description.bmHeight));
        const auto screen = lumetra::win::windowDc(nullptr);
        if (GetDIBits(screen.get().dc, bitmap, 0, UINT(description.bmHeight), pixels.data(), &info,
                      DIB_RGB_COLORS) != description.bmHeight)
            throwLastError("GetDIBits");
    }
    std::ofstream out(std::filesystem::path(a[0]), std::ios::binary);
    out.write(pixels.data(), std::streamsize(pixels.size()));
    if (!out) throw DriverError("cannot write " + toUtf8(a[0]));
    return std::to_string(description.bmWidth) + "x" + std::to_string(description.bmHeight);
}

}  // namespace e2e
