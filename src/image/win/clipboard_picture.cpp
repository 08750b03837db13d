#include "image/win/clipboard_picture.h"

#include <cstring>
#include <string>
#include <utility>

#include "base/win/unique_handle.h"
#include "image/bmp_reader.h"

namespace lumetra::win {

bool clipboardHasPicture() {
    return IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_BITMAP);
}

bool putPictureOnClipboard(HWND owner, std::span<const std::uint8_t> block) {
    if (block.empty()) return false;
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, block.size()));
    if (!memory) return false;
    {
        const UniqueGlobalLock lock = lockGlobal(memory.get());
        if (!lock.get().data) return false;
        std::memcpy(lock.get().data, block.data(), block.size());
    }
    const UniqueClipboard clipboard = openClipboard(owner);
    if (!clipboard || !EmptyClipboard()) return false;
    if (!SetClipboardData(CF_DIB, memory.get())) return false;
    memory.release();  // the clipboard's from now on
    return true;
}

std::optional<PixelImage> bitmapPixels(HBITMAP bitmap) {
    BITMAP description{};
    if (!bitmap || !GetObjectW(bitmap, sizeof description, &description)) return std::nullopt;
    if (!pictureSizeAccepted(description.bmWidth, description.bmHeight)) return std::nullopt;
    std::string message;
    std::optional<PixelImage> pixels =
        createCanvasBitmap(description.bmWidth, description.bmHeight, message);
    if (!pixels) return std::nullopt;
    // 24 bits, bottom-up, rows padded to 4 bytes: the store's own layout.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels->width;
    info.bmiHeader.biHeight = pixels->height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const UniqueWindowDc screen = windowDc(nullptr);
    if (!screen.get().dc ||
        GetDIBits(screen.get().dc, bitmap, 0, UINT(pixels->height), pixels->bytes.data(), &info,
                  DIB_RGB_COLORS) != pixels->height)
        return std::nullopt;
    return pixels;
}

ClipboardPicture pictureFromClipboard(HWND owner) {
    const UniqueClipboard clipboard = openClipboard(owner);
    if (!clipboard) return {};
    if (IsClipboardFormatAvailable(CF_DIB)) {
        HGLOBAL block = GetClipboardData(CF_DIB);
        const UniqueGlobalLock lock = lockGlobal(block);
        if (!lock.get().data) return {};
        const std::span<const std::uint8_t> bytes(static_cast<const std::uint8_t*>(lock.get().data),
                                                  GlobalSize(block));
        BmpReadResult read = decodeDib(bytes);
        if (!read.pixels) return {std::nullopt, std::move(read.message)};
        return {std::move(read.pixels), {}};
    }
    return {bitmapPixels(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))), {}};
}

}  // namespace lumetra::win
