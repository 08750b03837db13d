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

#include "image/pixel_image.h"

namespace lumetra::win {

// True when the clipboard offers a picture (CF_DIB or CF_BITMAP).
bool clipboardHasPicture();

// Empties the clipboard and puts `block` (a packed DIB) on it as CF_DIB, on behalf of `owner`.
// False, with the clipboard as it was, when it cannot be opened or the memory cannot be had.
bool putPictureOnClipboard(HWND owner, std::span<const std::uint8_t> block);

// The clipboard's picture in the program's store: nothing when there is none, when the clipboard
// cannot be opened, or when the picture is refused (its block is never read beyond its size).
std::optional<PixelImage> pictureFromClipboard(HWND owner);

// The pixels of a bitmap handle as 24 bits, through GetDIBits.
std::optional<PixelImage> bitmapPixels(HBITMAP bitmap);

}  // namespace lumetra::win
