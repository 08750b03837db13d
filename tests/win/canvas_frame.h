#pragma once
// A visible top-level frame that holds a canvas window for the Win32 tests, and a picture put on
// a canvas as opening a file does.

#include <windows.h>

#include <utility>

#include "document/win/canvas_window.h"

namespace lumetra::win {

class CanvasFrame {
  public:
    CanvasFrame(int width, int height) {
        static const bool registered = [] {
            CanvasWindow::registerClass(GetModuleHandleW(nullptr));
            WNDCLASSW frameClass{};
            frameClass.lpfnWndProc = DefWindowProcW;
            frameClass.hInstance = GetModuleHandleW(nullptr);
            frameClass.lpszClassName = L"LumetraCanvasTestFrame";
            return RegisterClassW(&frameClass) != 0;
        }();
        (void)registered;
        frame_ =
            CreateWindowExW(0, L"LumetraCanvasTestFrame", L"", WS_POPUP | WS_VISIBLE, 0, 0, width,
                            height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    // Destroys the canvas with the frame; the canvas stores its exit snapshot then.
    ~CanvasFrame() {
        if (frame_) DestroyWindow(frame_);
    }
    CanvasFrame(const CanvasFrame&) = delete;
    CanvasFrame& operator=(const CanvasFrame&) = delete;

    HWND get() const { return frame_; }
    // A canvas over `area` of the frame; null when it cannot be made.
    CanvasWindow* addCanvas(const RECT& area) {
        return CanvasWindow::create(frame_, GetModuleHandleW(nullptr), area);
    }

  private:
    HWND frame_ = nullptr;
};

inline void setPicture(CanvasWindow& canvas, PixelImage pixels) {
    adoptPixels(canvas.document().current, std::move(pixels));
    canvas.refreshView(7);
}

}  // namespace lumetra::win
