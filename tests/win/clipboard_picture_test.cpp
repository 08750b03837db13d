// The system clipboard with the program's pictures: a region put there as CF_DIB comes back
// through CF_DIB and through the CF_BITMAP the system makes of it for other readers; a block
// whose header claims more than the block holds is refused.

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

TEST_F(ClipboardPicture, ARegionComesBackThroughCfDibAndCfBitmap) {
    const PixelImage picture = testPattern(23, 17);
    ASSERT_TRUE(putPictureOnClipboard(owner_.get(), encodeDib(picture, Rect{3, 2, 16, 15})));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP)) << "the system offers a bitmap too";
    const std::optional<PixelImage> back = pictureFromClipboard(owner_.get());
    ASSERT_TRUE(back);
    ASSERT_EQ(back->width, 13);
    ASSERT_EQ(back->height, 13);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(pixelAt(*back, x, y), pixelAt(picture, 3 + x, 2 + y)) << x << "," << y;
    {
        // Another reader asks for a bitmap handle.
        const UniqueClipboard clipboard = openClipboard(owner_.get());
        ASSERT_TRUE(clipboard);
        const auto asBitmap = bitmapPixels(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
        ASSERT_TRUE(asBitmap);
        EXPECT_EQ(asBitmap->bytes, back->bytes);
        EmptyClipboard();
    }
    EXPECT_FALSE(clipboardHasPicture());
    EXPECT_FALSE(pictureFromClipboard(owner_.get()));
}

TEST_F(ClipboardPicture, ABlockClaimingMoreThanItHoldsIsRefused) {
    std::vector<std::uint8_t> block(40 + 8, 0xFF);
    const BITMAPINFOHEADER header{sizeof header, 4000, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::memcpy(block.data(), &header, sizeof header);
    ASSERT_TRUE(putPictureOnClipboard(owner_.get(), block));
    EXPECT_TRUE(clipboardHasPicture());
    EXPECT_FALSE(pictureFromClipboard(owner_.get()));
}

}  // namespace
}  // namespace lumetra::win
