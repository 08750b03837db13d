// The system clipboard with the program's pictures: a region put there as CF_DIB comes back
// through CF_DIB and through the CF_BITMAP the system makes of it for other readers; a 32-bit
// block of another program is taken; a bitmap handle is read through GetDIBits.

#include "image/win/clipboard_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/win/unique_handle.h"
#include "image/bmp_writer.h"
#include "win_test_pictures.h"

namespace lumetra::win {
namespace {

class ClipboardPicture : public ::testing::Test {
  protected:
    void SetUp() override {
        owner_.reset(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                     nullptr, nullptr));
        ASSERT_TRUE(owner_);
    }
    void TearDown() override {
        if (const UniqueClipboard c = openClipboard(owner_.get())) EmptyClipboard();
    }
    UniqueWindow owner_;
};

PixelImage cut(const PixelImage& image, const Rect& r) {
    std::string message;
    PixelImage part = *createCanvasBitmap(r.width(), r.height(), message);
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            setPixel(part, x, y, pixelAt(image, r.left + x, r.top + y));
    return part;
}

TEST_F(ClipboardPicture, ARegionComesBackThroughCfDibAndCfBitmap) {
    const PixelImage picture = testPattern(23, 17);
    const Rect region{3, 2, 16, 15};
    ASSERT_TRUE(putPictureOnClipboard(owner_.get(), encodeDib(picture, region)));
    EXPECT_TRUE(clipboardHasPicture());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP)) << "the system offers a bitmap too";

    const std::optional<PixelImage> back = pictureFromClipboard(owner_.get());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bytes, cut(picture, region).bytes);

    // Another reader asks for a bitmap handle.
    std::optional<PixelImage> asBitmap;
    {
        const UniqueClipboard clipboard = openClipboard(owner_.get());
        ASSERT_TRUE(clipboard);
        asBitmap = bitmapPixels(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
    }
    ASSERT_TRUE(asBitmap);
    EXPECT_EQ(asBitmap->bytes, back->bytes);

    // Emptied by someone else: no picture, and none is read.
    {
        const UniqueClipboard clipboard = openClipboard(owner_.get());
        EmptyClipboard();
    }
    EXPECT_FALSE(clipboardHasPicture());
    EXPECT_FALSE(pictureFromClipboard(owner_.get()));
}

// What most programs put there: 32 bits a pixel, top-down, alpha in the fourth byte; and a
// block whose header lies about its size, which is refused.
TEST_F(ClipboardPicture, BlocksOfOtherProgramsAreConvertedOrRefused) {
    const auto place = [&](const std::vector<std::uint8_t>& block) {
        UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, block.size()));
        std::memcpy(lockGlobal(memory.get()).get().data, block.data(), block.size());
        const UniqueClipboard clipboard = openClipboard(owner_.get());
        EmptyClipboard();
        if (SetClipboardData(CF_DIB, memory.get())) memory.release();
    };
    std::vector<std::uint8_t> block(40 + 2 * 4, 0);
    BITMAPINFOHEADER header{sizeof header, 2, -1, 1, 32, BI_RGB, 8, 0, 0, 0, 0};
    std::memcpy(block.data(), &header, sizeof header);
    const std::uint8_t pixels[] = {0x30, 0x20, 0x10, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::memcpy(block.data() + 40, pixels, sizeof pixels);
    place(block);
    std::optional<PixelImage> back = pictureFromClipboard(owner_.get());
    ASSERT_TRUE(back);
    EXPECT_EQ(pixelAt(*back, 0, 0), (Rgb{0x10, 0x20, 0x30}));
    EXPECT_EQ(pixelAt(*back, 1, 0), (Rgb{0xFF, 0xFF, 0xFF}));

    header.biWidth = 4000;  // 16000 bytes of pixels claimed, 8 there
    std::memcpy(block.data(), &header, sizeof header);
    place(block);
    EXPECT_FALSE(pictureFromClipboard(owner_.get()));
}

TEST_F(ClipboardPicture, BitmapHandlesAreReadThroughGetDIBits) {
    const PixelImage picture = testPattern(5, 3);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, 5, 3, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const UniqueBitmap section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(section && bits);
    std::memcpy(bits, picture.bytes.data(), picture.bytes.size());
    const std::optional<PixelImage> read = bitmapPixels(section.get());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->bytes, picture.bytes);
    EXPECT_FALSE(bitmapPixels(nullptr));
}

}  // namespace
}  // namespace lumetra::win
