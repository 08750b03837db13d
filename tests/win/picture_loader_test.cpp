// The platform picture loader: BMP, GIF, JPEG and EMF files made by the test come back as 24-bit
// pictures of the right size and colours; unreadable files fail with a reason.

#include "image/win/picture_loader.h"
#include "document/image_save.h"

#include <windows.h>

#include <ole2.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/win/unique_handle.h"
#include "image/bmp_reader.h"
#include "image/bmp_writer.h"
#include "win_test_pictures.h"

namespace lumetra::win {
namespace {

namespace fs = std::filesystem;

void putLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

// A 24-bit BMP file of the picture, written by hand.
void writeBmp(const fs::path& path, const PixelImage& image) {
    std::vector<std::uint8_t> file;
    const std::uint32_t size = std::uint32_t(image.bytes.size());
    file.push_back('B');
    file.push_back('M');
    putLe(file, 54 + size, 4);
    putLe(file, 0, 4);
    putLe(file, 54, 4);
    putLe(file, 40, 4);
    putLe(file, std::uint32_t(image.width), 4);
    putLe(file, std::uint32_t(image.height), 4);
    putLe(file, 1, 2);
    putLe(file, 24, 2);
    putLe(file, 0, 4);
    putLe(file, size, 4);
    putLe(file, 0, 16);
    file.insert(file.end(), image.bytes.begin(), image.bytes.end());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

// A GIF file of a picture of at most four colours (white, red, green, blue), written by hand: a
// 4-entry palette and LZW codes of 3 bits, with a clear code after every two pixels so that the
// code size never grows.
void writeGif(const fs::path& path, const PixelImage& image) {
    const Rgb palette[4] = {{255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    putLe(out, std::uint32_t(image.width), 2);
    putLe(out, std::uint32_t(image.height), 2);
    out.push_back(0x81);  // global palette of 2^(1 + 1) entries
    out.push_back(0);
    out.push_back(0);
    for (Rgb c : palette)
        out.insert(out.end(), {c.red, c.green, c.blue});
    out.push_back(',');
    putLe(out, 0, 4);
    putLe(out, std::uint32_t(image.width), 2);
    putLe(out, std::uint32_t(image.height), 2);
    out.push_back(0);
    out.push_back(2);  // minimum code size: clear = 4, end = 5
    std::vector<std::uint8_t> data;
    std::uint32_t bits = 0;
    int count = 0;
    auto emit = [&](std::uint32_t code) {
        bits |= code << count;
        count += 3;
        while (count >= 8) {
            data.push_back(std::uint8_t(bits));
            bits >>= 8;
            count -= 8;
        }
    };
    int sinceClear = 2;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (sinceClear == 2) {
                emit(4);
                sinceClear = 0;
            }
            Rgb c = pixelAt(image, x, y);
            std::uint32_t index = 0;
            while (index < 4 && !(palette[index] == c))
                ++index;
            emit(index & 3);
            ++sinceClear;
        }
    }
    emit(5);
    if (count > 0) data.push_back(std::uint8_t(bits));
    for (size_t i = 0; i < data.size(); i += 255) {
        size_t n = std::min<size_t>(255, data.size() - i);
        out.push_back(std::uint8_t(n));
        out.insert(out.end(), data.begin() + std::ptrdiff_t(i),
                   data.begin() + std::ptrdiff_t(i + n));
    }
    out.push_back(0);
    out.push_back(';');
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
}

// A BMP file with a palette (1, 4 or 8 bits per pixel), written by hand: pixel (x, y) takes
// palette entry (x * 3 + y * 5) mod the palette size.
std::vector<std::uint8_t> paletteBmp(int width, int height, int bits) {
    const int colours = 1 << bits;
    const std::uint32_t stride = std::uint32_t(((width * bits + 31) / 32) * 4);
    std::vector<std::uint8_t> file;
    const std::uint32_t offset = 54 + 4 * std::uint32_t(colours);
    const std::uint32_t size = stride * std::uint32_t(height);
    file.push_back('B');
    file.push_back('M');
    putLe(file, offset + size, 4);
    putLe(file, 0, 4);
    putLe(file, offset, 4);
    putLe(file, 40, 4);
    putLe(file, std::uint32_t(width), 4);
    putLe(file, std::uint32_t(height), 4);
    putLe(file, 1, 2);
    putLe(file, std::uint32_t(bits), 2);
    putLe(file, 0, 4);
    putLe(file, size, 4);
    putLe(file, 0, 8);
    putLe(file, std::uint32_t(colours), 4);
    putLe(file, 0, 4);
    for (int i = 0; i < colours; ++i) {
        file.insert(file.end(), {std::uint8_t(i * 29 + 3), std::uint8_t(255 - i * 13),
                                 std::uint8_t(i * 71), 0});
    }
    for (int r = 0; r < height; ++r) {
        const int y = height - 1 - r;
        std::vector<std::uint8_t> row(stride, 0);
        for (int x = 0; x < width; ++x) {
            const int index = (x * 3 + y * 5) % colours;
            const int bit = x * bits;
            row[size_t(bit / 8)] |= std::uint8_t(index << (8 - bits - bit % 8));
        }
        file.insert(file.end(), row.begin(), row.end());
    }
    return file;
}

// Encodes the picture with the system's codecs (JPEG or GIF container).
bool writeWithCodec(const fs::path& path, const PixelImage& image, REFGUID container) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.putVoid()))) {
        return false;
    }
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(container, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), nullptr)) ||
        FAILED(frame->Initialize(nullptr))) {
        return false;
    }
    frame->SetSize(UINT(image.width), UINT(image.height));
    frame->SetResolution(96.0, 96.0);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format))) return false;
    // WIC wants top-down rows.
    std::vector<std::uint8_t> topDown;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.pictureRow(y);
        topDown.insert(topDown.end(), row, row + image.stride);
    }
    if (format == GUID_WICPixelFormat24bppBGR) {
        if (FAILED(frame->WritePixels(UINT(image.height), UINT(image.stride), UINT(topDown.size()),
                                      topDown.data()))) {
            return false;
        }
    } else {
        // The encoder asked for another format (GIF: indexed); let WIC convert from a bitmap.
        ComPtr<IWICBitmap> bitmap;
        if (FAILED(factory->CreateBitmapFromMemory(
                UINT(image.width), UINT(image.height), GUID_WICPixelFormat24bppBGR,
                UINT(image.stride), UINT(topDown.size()), topDown.data(), bitmap.put())) ||
            FAILED(frame->WriteSource(bitmap.get(), nullptr))) {
            return false;
        }
    }
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// Four flat quadrants in colours that survive a palette and JPEG compression well.
PixelImage quadrants(int width, int height) {
    std::string message;
    PixelImage image = *createCanvasBitmap(width, height, message);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb c = x < width / 2 ? (y < height / 2 ? Rgb{255, 0, 0} : Rgb{0, 255, 0})
                                  : (y < height / 2 ? Rgb{0, 0, 255} : Rgb{255, 255, 255});
            setPixel(image, x, y, c);
        }
    }
    return image;
}

bool closeTo(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}

class PictureLoader : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        folder_ = fs::temp_directory_path() /
                  (L"lumetra_picture_test_" + std::to_wstring(GetCurrentProcessId()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
        CoUninitialize();
    }
    fs::path folder_;
};

TEST_F(PictureLoader, BmpComesBackPixelForPixel) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{7, 5}, std::pair{33, 17}}) {
        PixelImage image = testPattern(w, h);
        fs::path path = folder_ / "pattern.bmp";
        writeBmp(path, image);
        std::wstring failure;
        auto loaded = loadPictureFile(path, failure);
        ASSERT_TRUE(loaded) << std::string(failure.begin(), failure.end());
        EXPECT_EQ(loaded->width, w);
        EXPECT_EQ(loaded->height, h);
        EXPECT_EQ(loaded->stride, rowStride(w));
        EXPECT_EQ(loaded->bytes, image.bytes) << w << "x" << h;
    }
}

TEST_F(PictureLoader, GifKeepsItsPaletteColours) {
    PixelImage image = quadrants(40, 20);
    fs::path path = folder_ / "quadrants.gif";
    writeGif(path, image);
    std::wstring failure;
    auto loaded = loadPictureFile(path, failure);
    ASSERT_TRUE(loaded) << std::string(failure.begin(), failure.end());
    ASSERT_EQ(loaded->width, 40);
    ASSERT_EQ(loaded->height, 20);
    EXPECT_EQ(loaded->bytes, image.bytes);
}

TEST_F(PictureLoader, JpegSizeFollowsItsResolutionAndColoursStayClose) {
    PixelImage image = quadrants(64, 32);
    fs::path path = folder_ / "quadrants.jpg";
    ASSERT_TRUE(writeWithCodec(path, image, GUID_ContainerFormatJpeg));
    std::wstring failure;
    auto loaded = loadPictureFile(path, failure);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->width, 64);
    ASSERT_EQ(loaded->height, 32);
    // Centres of the quadrants, away from the compressed edges.
    for (auto [x, y] : {std::pair{8, 8}, std::pair{56, 8}, std::pair{8, 24}, std::pair{56, 24}}) {
        EXPECT_TRUE(closeTo(pixelAt(*loaded, x, y), pixelAt(image, x, y), 12)) << x << "," << y;
    }
}

TEST_F(PictureLoader, EnhancedMetafileIsDrawnAtItsSize) {
    fs::path path = folder_ / "drawing.emf";
    // 40 x 20 pixels at 96 dpi: 1058 x 529 hundredths of a millimetre.
    RECT frame{0, 0, MulDiv(40, 2540, 96), MulDiv(20, 2540, 96)};
    HDC screen = GetDC(nullptr);
    HDC recorder = CreateEnhMetaFileW(screen, path.c_str(), &frame, nullptr);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(recorder, nullptr);
    RECT red{0, 0, 40, 20};
    UniqueBrush brush(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(recorder, &red, brush.get());
    DeleteEnhMetaFile(CloseEnhMetaFile(recorder));
    std::wstring failure;
    auto loaded = loadPictureFile(path, failure);
    ASSERT_TRUE(loaded) << std::string(failure.begin(), failure.end());
    EXPECT_NEAR(loaded->width, 40, 1);
    EXPECT_NEAR(loaded->height, 20, 1);
    EXPECT_EQ(pixelAt(*loaded, loaded->width / 2, loaded->height / 2), (Rgb{255, 0, 0}));
}

TEST_F(PictureLoader, PaletteBmpsMatchTheCoreReader) {
    for (int bits : {1, 4, 8}) {
        for (auto [w, h] : {std::pair{1, 1}, std::pair{13, 7}, std::pair{40, 3}}) {
            std::vector<std::uint8_t> bytes = paletteBmp(w, h, bits);
            fs::path path = folder_ / "palette.bmp";
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            BmpReadResult core = decodeBmp(bytes);
            ASSERT_TRUE(core.pixels) << core.message;
            std::wstring failure;
            auto loaded = loadPictureFile(path, failure);
            ASSERT_TRUE(loaded) << bits << " bits " << w << "x" << h;
            EXPECT_EQ(loaded->width, w);
            EXPECT_EQ(loaded->height, h);
            EXPECT_EQ(loaded->bytes, core.pixels->bytes) << bits << " bits " << w << "x" << h;
        }
    }
}

TEST_F(PictureLoader, SavedImageComesBackThroughThePlatformLoader) {
    CanvasImage image;
    adoptPixels(image, testPattern(21, 11));
    fs::path path = folder_ / "saved.bmp";
    ASSERT_TRUE(saveImageBmp(image, path, false, false));
    std::wstring failure;
    auto loaded = loadPictureFile(path, failure);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->bytes, image.pixels.bytes);
}

TEST_F(PictureLoader, MissingEmptyAndGarbageFilesFail) {
    std::wstring failure;
    EXPECT_FALSE(loadPictureFile(folder_ / "none.bmp", failure));
    EXPECT_EQ(failure.rfind(L"Could not open ", 0), 0u);

    fs::path empty = folder_ / "empty.bmp";
    std::ofstream(empty, std::ios::binary).close();
    failure.clear();
    EXPECT_FALSE(loadPictureFile(empty, failure));
    EXPECT_FALSE(failure.empty());

    fs::path garbage = folder_ / "garbage.jpg";
    std::ofstream(garbage, std::ios::binary) << "this is not a picture at all, just words";
    failure.clear();
    EXPECT_FALSE(loadPictureFile(garbage, failure));
    EXPECT_FALSE(failure.empty());
}

}  // namespace
}  // namespace lumetra::win
