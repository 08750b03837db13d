#pragma once
// The program's answers to the test protocol (test_protocol.h).

#include <windows.h>

#include <cstdint>

#include "image/pixel_image.h"

namespace lumetra::win {

LRESULT answerTestQuery(UINT message, WPARAM wParam, LPARAM lParam);
LRESULT answerCopyData(const COPYDATASTRUCT* data);

// FNV-1a over the pixel bytes without row padding, bottom row first.
std::uint32_t pixelHash(const PixelImage& image);

}  // namespace lumetra::win
