#include "image/win/dib_paint.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace lumetra::win {

BITMAPINFOHEADER dibHeader(const PixelImage& image) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = image.width;
    h.biHeight = image.height;  // positive: bottom-up rows
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    return h;
}

bool drawPixels(HDC dc, int x, int y, const PixelImage& image, const Rect& source) {
    if (image.empty()) return false;
    Rect r{std::max(source.left, 0), std::max(source.top, 0), std::min(source.right, image.width),
           std::min(source.bottom, image.height)};
    if (r.empty()) return false;
    BITMAPINFO info{};
    info.bmiHeader = dibHeader(image);
    // For a bottom-up DIB the source y counts from the bottom row.
    int sourceY = image.height - r.bottom;
    int lines = SetDIBitsToDevice(dc, x + (r.left - source.left), y + (r.top - source.top),
                                  DWORD(r.width()), DWORD(r.height()), r.left, sourceY, 0,
                                  UINT(image.height), image.bytes.data(), &info, DIB_RGB_COLORS);
    return lines > 0;
}

bool stretchPixels(HDC dc, const RECT& target, const PixelImage& image) {
    if (image.empty()) return false;
    BITMAPINFO info{};
    info.bmiHeader = dibHeader(image);
    int old = SetStretchBltMode(dc, COLORONCOLOR);
    int lines = StretchDIBits(dc, target.left, target.top, target.right - target.left,
                              target.bottom - target.top, 0, 0, image.width, image.height,
                              image.bytes.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, old);
    return lines > 0;
}

PixelImage readBitmapPixels(HDC dc, HBITMAP bitmap) {
    BITMAP b{};
    if (!GetObjectW(bitmap, sizeof b, &b)) return {};
    std::string message;
    auto image = createCanvasBitmap(b.bmWidth, b.bmHeight, message);
    if (!image) return {};
    BITMAPINFO info{};
    info.bmiHeader = dibHeader(*image);
    if (GetDIBits(dc, bitmap, 0, UINT(image->height), image->bytes.data(), &info, DIB_RGB_COLORS) !=
        image->height) {
        return {};
    }
    return std::move(*image);
}

HBITMAP createDibSection(HDC dc, int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace lumetra::win
