#pragma once
// Pictures on the system clipboard. The program puts its pictures there as CF_DIB, a block that
// every reader in any process can take (the system makes CF_BITMAP of it for readers that ask
// for that); a bitmap handle of our own would not be readable by another process everywhere.
// Pictures are taken from CF_DIB when it is offered, from CF_BITMAP otherwise, and read by our
// own decoder, so that 16- and 32-bit pictures of other programs come in like any other.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "image/pixel_image.h"

namespace lumetra::win {

// True when the clipboard offers a picture (CF_DIB or CF_BITMAP).
bool clipboardHasPicture();

// Empties the clipboard and puts `block` (a packed DIB) on it as CF_DIB, on behalf of `owner`.
// False, with the clipboard as it was, when it cannot be opened or the memory cannot be had.
bool putPictureOnClipboard(HWND owner, std::span<const std::uint8_t> block);

// The clipboard's picture in the program's store: no pixels when there is none, when the clipboard
// cannot be opened, or when the picture is refused (its block is never read beyond its size). A
// refused picture comes with the reason, for the user.
struct ClipboardPicture {
    std::optional<PixelImage> pixels;
    std::string refusal;  // why the picture on the clipboard could not be read; else empty
};
ClipboardPicture pictureFromClipboard(HWND owner);

// The pixels of a bitmap handle as 24 bits, through GetDIBits.
std::optional<PixelImage> bitmapPixels(HBITMAP bitmap);

}  // namespace lumetra::win
