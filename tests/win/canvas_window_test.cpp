// The canvas window on screen: the picture is drawn at (7, 7) on the grey background, brighter on
// demand, scrolled by its bars, and the right button draws the selection by the canvas's rules.

#include "image/win/canvas_window.h"

#include <windowsx.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image/win/canvas_view.h"
#include "image/win/dib_paint.h"
#include "shell/win/app_state.h"
#include "shell/win/ids.h"
#include "shell/win/unique_handle.h"
#include "win_test_pictures.h"

namespace lumetra::win {
namespace {

LPARAM at(int x, int y) {
    return MAKELPARAM(x, y);
}

class CanvasTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        CanvasWindow::registerClass(GetModuleHandleW(nullptr));
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LumetraCanvasTestFrame";
        RegisterClassW(&wc);
    }

    void SetUp() override {
        // A destroyed canvas leaves its picture size as the default for the next one.
        appState().defaultSettings = RenderSettings{};
        appState().options.showBrighter = 0;
        appState().dragDecoration = 5;
        appState().currentTool = IDM_TOOL_BRUSH;
        frame_ = CreateWindowExW(0, L"LumetraCanvasTestFrame", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                 600, 420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(frame_, nullptr);
        canvas_ = CanvasWindow::create(frame_, GetModuleHandleW(nullptr), RECT{0, 0, 500, 400});
        ASSERT_NE(canvas_, nullptr);
    }

    void TearDown() override {
        DestroyWindow(frame_);  // destroys the canvas and its record
    }

    void setPicture(PixelImage pixels) {
        adoptPixels(canvas_->document().current, std::move(pixels));
        canvas_->refreshView(7);
    }

    // What the canvas shows, read back from its client area.
    PixelImage screen() {
        UpdateWindow(canvas_->window());
        GdiFlush();
        RECT client{};
        GetClientRect(canvas_->window(), &client);
        WindowDc dc(canvas_->window());
        UniqueMemoryDc memory(CreateCompatibleDC(dc.get()));
        void* bits = nullptr;
        UniqueBitmap section(createDibSection(dc.get(), client.right, client.bottom, &bits));
        {
            ScopedSelection select(memory.get(), section.get());
            BitBlt(memory.get(), 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
            GdiFlush();
        }
        return readBitmapPixels(memory.get(), section.get());
    }

    HWND frame_ = nullptr;
    CanvasWindow* canvas_ = nullptr;
};

TEST_F(CanvasTest, StartsWithABlackDefaultPictureAtSevenSeven) {
    const CanvasImage& image = canvas_->document().current;
    EXPECT_EQ(image.pixels.width, appState().defaultSettings.width);
    EXPECT_EQ(image.pixels.height, appState().defaultSettings.height);
    EXPECT_TRUE(image.selection.empty());
    EXPECT_EQ(canvas_->viewOffset().x, 7);
    EXPECT_EQ(canvas_->viewOffset().y, 7);
    EXPECT_EQ(canvas_->document().undo.pixels.width, image.pixels.width);
}

TEST_F(CanvasTest, PaintsThePicture1To1OnTheGreyBackground) {
    setPicture(testPattern(300, 200));
    PixelImage shown = screen();
    ASSERT_FALSE(shown.empty());
    const PixelImage& picture = canvas_->document().current.pixels;
    for (int y = 0; y < 200; y += 7) {
        for (int x = 0; x < 300; x += 5) {
            ASSERT_EQ(pixelAt(shown, x + 7, y + 7), pixelAt(picture, x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(pixelAt(shown, 306, 206), pixelAt(picture, 299, 199));
    const Rgb grey{128, 128, 128};
    EXPECT_EQ(pixelAt(shown, 2, 2), grey);
    EXPECT_EQ(pixelAt(shown, 6, 6), grey);  // the border
    EXPECT_EQ(pixelAt(shown, 307, 100), grey);
    EXPECT_EQ(pixelAt(shown, 400, 300), grey);
}

TEST_F(CanvasTest, BrighterDisplayDecoratesEveryByteButNotThePicture) {
    setPicture(testPattern(120, 60));
    const PixelImage before = canvas_->document().current.pixels;
    appState().options.showBrighter = 1;
    canvas_->displayChanged();
    PixelImage shown = screen();
    for (int y = 0; y < 60; y += 3) {
        for (int x = 0; x < 120; x += 3) {
            Rgb p = pixelAt(before, x, y);
            Rgb expected{decorateByte(p.red, 1), decorateByte(p.green, 1), decorateByte(p.blue, 1)};
            ASSERT_EQ(pixelAt(shown, x + 7, y + 7), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(canvas_->document().current.pixels.bytes, before.bytes);
}

TEST_F(CanvasTest, RightDragSelectsAndAZeroDragClears) {
    HWND w = canvas_->window();
    SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, at(7 + 20, 7 + 30));
    EXPECT_EQ(canvas_->dragMode(), DragMode::Selecting);
    SendMessageW(w, WM_MOUSEMOVE, MK_RBUTTON, at(7 + 100, 7 + 80));
    EXPECT_EQ(canvas_->document().current.selection, (Rect{20, 30, 100, 80}));
    // Backwards past the anchor: the rectangle is normalised.
    SendMessageW(w, WM_MOUSEMOVE, MK_RBUTTON, at(7 + 5, 7 + 10));
    EXPECT_EQ(canvas_->document().current.selection, (Rect{5, 10, 20, 30}));
    SendMessageW(w, WM_RBUTTONUP, 0, at(7 + 120, 7 + 90));
    EXPECT_EQ(canvas_->dragMode(), DragMode::None);
    EXPECT_EQ(canvas_->document().current.selection, (Rect{20, 30, 120, 90}));

    SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, at(7 + 50, 7 + 50));
    SendMessageW(w, WM_RBUTTONUP, 0, at(7 + 50, 7 + 50));
    EXPECT_TRUE(canvas_->document().current.selection.empty());
}

TEST_F(CanvasTest, SelectionIsClampedToThePicture) {
    HWND w = canvas_->window();
    const PixelImage& p = canvas_->document().current.pixels;
    SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, at(0, 0));  // above and left of the picture
    SendMessageW(w, WM_RBUTTONUP, 0, at(490, 390));
    EXPECT_EQ(canvas_->document().current.selection, (Rect{0, 0, p.width, p.height}));
}

TEST_F(CanvasTest, ShiftRightClickMovesTheNearerEdge) {
    HWND w = canvas_->window();
    canvas_->document().current.selection = Rect{20, 30, 100, 80};
    // Inside, near the right edge and the bottom edge: left and top stay as the anchor.
    SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, at(7 + 90, 7 + 70));
    SendMessageW(w, WM_RBUTTONUP, 0, at(7 + 130, 7 + 100));
    EXPECT_EQ(canvas_->document().current.selection, (Rect{20, 30, 130, 100}));
    // Left of the selection: the right edge is the anchor.
    SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, at(7 + 10, 7 + 50));
    SendMessageW(w, WM_RBUTTONUP, 0, at(7 + 10, 7 + 50));
    EXPECT_EQ(canvas_->document().current.selection.left, 10);
    EXPECT_EQ(canvas_->document().current.selection.right, 130);
}

TEST_F(CanvasTest, LeftButtonStartsTheToolDragOnlyInsideThePicture) {
    HWND w = canvas_->window();
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at(3, 3));
    EXPECT_EQ(canvas_->dragMode(), DragMode::None);
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at(7 + 10, 7 + 10));
    EXPECT_EQ(canvas_->dragMode(), DragMode::BrushStroke);
    SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, at(7 + 20, 7 + 20));  // ignored during a drag
    EXPECT_EQ(canvas_->dragMode(), DragMode::BrushStroke);
    SendMessageW(w, WM_LBUTTONUP, 0, at(7 + 10, 7 + 10));
    EXPECT_EQ(canvas_->dragMode(), DragMode::None);

    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at(7 + 10, 7 + 10));
    EXPECT_EQ(canvas_->dragMode(), DragMode::Deforming);
    SendMessageW(w, WM_LBUTTONUP, 0, at(7 + 10, 7 + 10));
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at(7 + 10, 7 + 10));
    EXPECT_EQ(canvas_->dragMode(), DragMode::Moving);
    SendMessageW(w, WM_LBUTTONUP, 0, at(7 + 10, 7 + 10));
    appState().currentTool = IDM_TOOL_SKEW_FLIP;
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at(7 + 10, 7 + 10));
    EXPECT_EQ(canvas_->dragMode(), DragMode::Deforming);
    SendMessageW(w, WM_LBUTTONUP, 0, at(7 + 10, 7 + 10));
}

TEST_F(CanvasTest, ScrollBarsMoveTheViewWithinTheirRange) {
    std::string message;
    setPicture(*createCanvasBitmap(1500, 120, message));
    HWND w = canvas_->window();
    EXPECT_TRUE(GetWindowLongW(w, GWL_STYLE) & WS_HSCROLL);
    EXPECT_FALSE(GetWindowLongW(w, GWL_STYLE) & WS_VSCROLL);
    SendMessageW(w, WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(canvas_->viewOffset().x, 7 - 25);
    SendMessageW(w, WM_HSCROLL, SB_PAGEDOWN, 0);
    const int page = canvas_->document().horizontal.page;
    EXPECT_EQ(canvas_->viewOffset().x, 7 - 25 - page);
    for (int i = 0; i < 20; ++i)
        SendMessageW(w, WM_HSCROLL, SB_PAGEDOWN, 0);
    const ScrollState& s = canvas_->document().horizontal;
    EXPECT_EQ(s.position, s.range - s.page + 1);
    SendMessageW(w, WM_HSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(s.position, s.range - s.page + 1 - 25);
    for (int i = 0; i < 100; ++i)
        SendMessageW(w, WM_HSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(canvas_->viewOffset().x, 7);
    // A picture that fits again hides the bar and puts the view back at (7, 7).
    SendMessageW(w, WM_HSCROLL, SB_PAGEDOWN, 0);
    setPicture(*createCanvasBitmap(100, 100, message));
    EXPECT_FALSE(GetWindowLongW(w, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(canvas_->viewOffset().x, 7);
}

}  // namespace
}  // namespace lumetra::win
