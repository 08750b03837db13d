// The driver as another program on the clipboard: it puts a picture there as most programs do
// (32 bits a pixel, top-down, bit-field masks) and reads the program's picture back the way old
// programs do (a CF_BITMAP handle and GetDIBits). Files are plain 24-bit bottom-up BMP files.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "driver.h"

namespace e2e {
namespace {

std::uint32_t u32(const std::vector<unsigned char>& b, size_t at) {
    if (at + 4 > b.size()) throw DriverError("BMP file too short");
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}

void put32(std::vector<unsigned char>& b, size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// The clipboard for one scope, opened without an owner window, as a console program does.
class Clipboard {
  public:
    Clipboard() {
        for (int tries = 0; !OpenClipboard(nullptr); ++tries) {
            if (tries == 50) throwLastError("OpenClipboard");
            Sleep(20);
        }
    }
    ~Clipboard() { CloseClipboard(); }
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;
};

}  // namespace

std::string clipboardPut32(Session&, const std::vector<std::wstring>& a) {
    std::ifstream in(std::filesystem::path(a[0]), std::ios::binary);
    const std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    const std::uint32_t offset = u32(file, 10), width = u32(file, 18), height = u32(file, 22);
    if (file.size() < 30 || file[28] != 24 || width == 0 || height == 0 || height > 0x7FFFFFFF)
        throw DriverError("not a 24-bit bottom-up BMP file");
    const size_t stride = (3 * width + 3) / 4 * 4;
    if (offset + stride * height > file.size()) throw DriverError("BMP file too short");
    std::vector<unsigned char> block(40 + 12 + 4 * size_t(width) * height, 0);
    put32(block, 0, 40);
    put32(block, 4, width);
    put32(block, 8, std::uint32_t(-std::int32_t(height)));  // top-down
    block[12] = 1;
    block[14] = 32;
    put32(block, 16, BI_BITFIELDS);
    put32(block, 40, 0x00FF0000);
    put32(block, 44, 0x0000FF00);
    put32(block, 48, 0x000000FF);
    for (size_t row = 0; row < height; ++row) {
        const unsigned char* in24 = file.data() + offset + stride * (height - 1 - row);
        unsigned char* out = block.data() + 52 + 4 * size_t(width) * row;
        for (size_t x = 0; x < width; ++x) {
            std::memcpy(out + 4 * x, in24 + 3 * x, 3);
            out[4 * x + 3] = 0xFF;
        }
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, block.size());
    if (!memory) throwLastError("GlobalAlloc");
    std::memcpy(GlobalLock(memory), block.data(), block.size());
    GlobalUnlock(memory);
    Clipboard clipboard;
    EmptyClipboard();
    if (!SetClipboardData(CF_DIB, memory)) {
        GlobalFree(memory);
        throwLastError("SetClipboardData");
    }
    return {};
}

std::string clipboardSaveBitmap(Session&, const std::vector<std::wstring>& a) {
    std::vector<unsigned char> pixels;
    BITMAPINFO info{};
    {
        Clipboard clipboard;
        HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        if (!bitmap) throwLastError("GetClipboardData(CF_BITMAP)");
        BITMAP description{};
        if (!GetObjectW(bitmap, sizeof description, &description)) throwLastError("GetObject");
        info.bmiHeader = {sizeof info.bmiHeader,
                          description.bmWidth,
                          description.bmHeight,
                          1,
                          24,
                          BI_RGB,
                          0,
                          0,
                          0,
                          0,
                          0};
        pixels.resize((3 * size_t(description.bmWidth) + 3) / 4 * 4 * description.bmHeight);
        HDC screen = GetDC(nullptr);
        const int rows = GetDIBits(screen, bitmap, 0, UINT(description.bmHeight), pixels.data(),
                                   &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        if (rows != description.bmHeight) throwLastError("GetDIBits");
    }
    std::vector<unsigned char> header(54, 0);
    header[0] = 'B';
    header[1] = 'M';
    put32(header, 2, std::uint32_t(54 + pixels.size()));
    put32(header, 10, 54);
    std::memcpy(header.data() + 14, &info.bmiHeader, 40);
    put32(header, 34, std::uint32_t(pixels.size()));
    std::ofstream out(std::filesystem::path(a[0]), std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.data()), std::streamsize(header.size()));
    out.write(reinterpret_cast<const char*>(pixels.data()), std::streamsize(pixels.size()));
    if (!out) throw DriverError("cannot write " + toUtf8(a[0]));
    return std::to_string(info.bmiHeader.biWidth) + "x" + std::to_string(info.bmiHeader.biHeight);
}

}  // namespace e2e
