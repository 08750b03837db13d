#pragma once
// Helpers of the Win32 tests: controls worked as the user works them, a test picture, a surface to
// read drawing back from, a scratch folder and the system's error texts.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/win/text.h"
#include "base/win/unique_handle.h"
#include "base/win/utf16.h"
#include "base/win/win_file_system.h"
#include "image/pixel_image.h"
#include "image/win/dib_paint.h"
#include "resources/resource_ids.h"

namespace lumetra::win {

namespace fs = std::filesystem;

inline HINSTANCE module() {
    return GetModuleHandleW(nullptr);
}
inline void initCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}
inline void notify(HWND dialog, int id, int code) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
inline void click(HWND dialog, int id) {
    notify(dialog, id, BN_CLICKED);
}
// A push-like radio button as the user presses it: the platform checks it, then reports.
inline void press(HWND dialog, int first, int last, int id) {
    CheckRadioButton(dialog, first, last, id);
    click(dialog, id);
}
inline bool checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}
inline void leaveField(HWND dialog, int id, const wchar_t* text) {
    if (text) SetDlgItemTextW(dialog, id, text);
    notify(dialog, id, EN_KILLFOCUS);
}
inline std::wstring itemText(HWND dialog, int id) {
    return windowText(GetDlgItem(dialog, id));
}
inline void holdShift(bool held) {
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Every pixel different: red from x, green from y, blue from both.
inline PixelImage testPattern(int width, int height) {
    std::string message;
    PixelImage image = *createCanvasBitmap(width, height, message);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            setPixel(image, x, y,
                     Rgb{std::uint8_t(x * 37 + 5), std::uint8_t(y * 53 + 11),
                         std::uint8_t((x * 7 + y * 13) & 0xFF)});
    return image;
}

// A memory device drawing into a 24-bit DIB section of the given size, every byte `fill`.
class DibSurface {
  public:
    DibSurface(int width, int height, std::uint8_t fill = 0) {
        dc_.reset(CreateCompatibleDC(nullptr));
        bitmap_.reset(createDibSection(dc_.get(), width, height, &bits_));
        SelectObject(dc_.get(), bitmap_.get());
        std::string message;
        image_ = *createCanvasBitmap(width, height, message);
        std::memset(bits_, fill, image_.bytes.size());
    }
    HDC dc() const { return dc_.get(); }
    // What was drawn: the section has the picture store's layout.
    const PixelImage& pixels() {
        GdiFlush();
        std::memcpy(image_.bytes.data(), bits_, image_.bytes.size());
        return image_;
    }

  private:
    UniqueBitmap bitmap_;  // outlives the device it is selected into
    UniqueMemoryDc dc_;
    void* bits_ = nullptr;
    PixelImage image_;
};

// The path with the extended-length prefix, for the tests' own calls on long paths.
inline std::wstring extended(const std::wstring& path) {
    return path.rfind(L"\\\\?\\", 0) == 0 ? path : L"\\\\?\\" + path;
}

// Removes `folder` (with its trailing backslash) and everything in it, read-only files too.
inline void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    if (const UniqueFind find(FindFirstFileW((folder + L"*").c_str(), &entry)); find) {
        do {
            const std::wstring name = entry.cFileName, path = folder + name;
            if (name == L"." || name == L"..") continue;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path + L"\\");
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find.get(), &entry));
    }
    RemoveDirectoryW(folder.c_str());
}

// A fresh folder under the temporary folder (its path with a trailing backslash), removed with
// everything in it (paths of any length) by the destructor.
class ScratchFolder {
  public:
    ScratchFolder() {
        static std::atomic<int> counter{0};
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        path_ = std::wstring(temp) + L"lumetra-ports-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter) + L"\\";
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { removeTree(extended(path_)); }
    ScratchFolder(const ScratchFolder&) = delete;
    const std::wstring& path() const { return path_; }

  private:
    std::wstring path_;
};

inline bool writeFile(const std::wstring& path, const std::string& bytes) {
    const UniqueFile file(CreateFileW(extended(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// FormatMessageW's text for `code`, without the line break and the full stop at its end.
inline std::wstring systemMessage(DWORD code) {
    wchar_t text[512] = {};
    std::wstring message(
        text, FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, text, 512, nullptr));
    return message.erase(message.find_last_not_of(L"\r\n.") + 1);
}

}  // namespace lumetra::win
