#include "image/win/picture_loader.h"

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <utility>

#include "base/win/text.h"
#include "base/win/unique_handle.h"
#include "base/win/utf16.h"
#include "image/win/dib_paint.h"

namespace lumetra::win {
namespace {

// The picture loader's code for data it cannot decode.
constexpr HRESULT kInvalidPicture = HRESULT(0x800A01E1L);

std::wstring failureText(HRESULT code) {
    if (code == kInvalidPicture) return L"Invalid picture file";
    return systemErrorText(DWORD(code));
}

// The whole file in a movable global memory block.
UniqueGlobal readFileIntoGlobal(const std::filesystem::path& path, DWORD& size,
                                std::wstring& failure) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        failure = L"Could not open " + path.wstring();
        return {};
    }
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.get(), &length) || length.QuadPart <= 0 ||
        length.QuadPart > 0x7FFFFFFF) {
        failure = L"Could not read " + path.wstring();
        return {};
    }
    size = DWORD(length.QuadPart);
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) {
        failure = L"Could not read " + path.wstring();
        return {};
    }
    DWORD read = 0;
    BOOL ok = FALSE;
    {
        auto locked = lockGlobal(memory.get());
        ok = locked && ReadFile(file.get(), locked.get().data, size, &read, nullptr);
    }
    if (!ok || read != size) {
        failure = L"Could not read " + path.wstring();
        return {};
    }
    return memory;
}

}  // namespace

std::optional<PixelImage> loadPictureFile(const std::filesystem::path& path,
                                          std::wstring& failure) {
    DWORD size = 0;
    UniqueGlobal memory = readFileIntoGlobal(path, size, failure);
    if (!memory) return std::nullopt;

    // The stream frees the memory block when it is released.
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, stream.put()))) {
        failure = L"Could not create IStream";
        return std::nullopt;
    }
    memory.release();

    ComPtr<IPicture> picture;
    HRESULT hr = OleLoadPicture(stream.get(), LONG(size), FALSE, IID_IPicture, picture.putVoid());
    if (FAILED(hr) || !picture) {
        failure = FAILED(hr) ? failureText(hr) : L"Could not create IPicture";
        return std::nullopt;
    }

    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    picture->get_Width(&hmWidth);
    picture->get_Height(&hmHeight);
    auto screen = windowDc(nullptr);
    const int width = MulDiv(hmWidth, GetDeviceCaps(screen.get(), LOGPIXELSX), 2540);
    const int height = MulDiv(hmHeight, GetDeviceCaps(screen.get(), LOGPIXELSY), 2540);

    if (!pictureSizeAccepted(width, height)) {
        failure = toUtf16(pictureTooLargeText(width, height));
        return std::nullopt;
    }
    std::string message;
    auto image = createCanvasBitmap(width, height, message);
    if (!image) {
        failure = toUtf16(message);
        return std::nullopt;
    }
    // The picture draws itself into a DIB section of the canvas layout, which is then copied.
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    screen.reset();
    void* bits = nullptr;
    UniqueBitmap section(createDibSection(dc.get(), width, height, &bits));
    if (!dc || !section || !bits) {
        failure = systemErrorText(GetLastError());
        return std::nullopt;
    }
    {
        auto select = selectObject(dc.get(), section.get());
        hr = picture->Render(dc.get(), 0, 0, width, height, 0, hmHeight, hmWidth, -hmHeight,
                             nullptr);
        GdiFlush();
    }
    if (FAILED(hr)) {
        failure = failureText(hr);
        return std::nullopt;
    }
    std::memcpy(image->bytes.data(), bits, image->bytes.size());
    return std::move(*image);
}

}  // namespace lumetra::win
