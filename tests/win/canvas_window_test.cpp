// The canvas window on screen: the picture is drawn at (7, 7) on the grey background, brighter on
// demand, scrolled by its bars, and the right button draws the selection by the canvas's rules.

#include "document/win/canvas_window.h"

#include <gtest/gtest.h>

#include <string>

#include "base/win/unique_handle.h"
#include "canvas_frame.h"
#include "document/canvas_view.h"
#include "image/win/dib_paint.h"
#include "resources/resource_ids.h"
#include "shell/win/app_state.h"
#include "win_test_pictures.h"

namespace lumetra::win {
namespace {

class CanvasTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // A destroyed canvas leaves its picture size as the default for the next one.
        appState().defaultSettings = RenderSettings{};
        appState().options.showBrighter = 0;
        appState().dragDecoration = 5;
        appState().currentTool = IDM_TOOL_BRUSH;
        ASSERT_NE(frame_.get(), nullptr);
        canvas_ = frame_.addCanvas(RECT{0, 0, 500, 400});
        ASSERT_NE(canvas_, nullptr);
    }

    // A mouse message at a point of the picture, which lies at (7, 7) in the window.
    void mouse(UINT message, WPARAM keys, int x, int y) {
        SendMessageW(canvas_->window(), message, keys, MAKELPARAM(x + 7, y + 7));
    }
    void rightDrag(WPARAM keys, int fromX, int fromY, int toX, int toY) {
        mouse(WM_RBUTTONDOWN, MK_RBUTTON | keys, fromX, fromY);
        mouse(WM_RBUTTONUP, 0, toX, toY);
    }
    const Rect& selection() const { return canvas_->document().current.selection; }

    // What the canvas shows, read back from its client area.
    PixelImage screen() {
        UpdateWindow(canvas_->window());
        GdiFlush();
        RECT client{};
        GetClientRect(canvas_->window(), &client);
        auto dc = windowDc(canvas_->window());
        UniqueMemoryDc memory(CreateCompatibleDC(dc.get()));
        void* bits = nullptr;
        UniqueBitmap section(createDibSection(dc.get(), client.right, client.bottom, &bits));
        {
            auto select = selectObject(memory.get(), section.get());
            BitBlt(memory.get(), 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
            GdiFlush();
        }
        return readBitmapPixels(memory.get(), section.get());
    }

    CanvasFrame frame_{600, 420};  // destroys the canvas and its record
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

TEST_F(CanvasTest, PaintsThePicture1To1OnTheGreyBackgroundAndBrighterOnDemand) {
    setPicture(*canvas_, testPattern(300, 200));
    const PixelImage before = canvas_->document().current.pixels;
    for (int brighter : {0, 1}) {
        SCOPED_TRACE(brighter ? "brighter" : "as it is");
        appState().options.showBrighter = brighter;
        canvas_->displayChanged();
        const PixelImage shown = screen();
        ASSERT_FALSE(shown.empty());
        const auto expectedAt = [&](int x, int y) {
            const Rgb p = pixelAt(before, x, y);
            return brighter ? Rgb{decorateByte(p.red, 1), decorateByte(p.green, 1),
                                  decorateByte(p.blue, 1)}
                            : p;
        };
        for (int y = 0; y < 200; y += 3) {
            for (int x = 0; x < 300; x += 5) {
                ASSERT_EQ(pixelAt(shown, x + 7, y + 7), expectedAt(x, y)) << x << "," << y;
            }
        }
        EXPECT_EQ(pixelAt(shown, 306, 206), expectedAt(299, 199));
        const Rgb grey{128, 128, 128};
        EXPECT_EQ(pixelAt(shown, 2, 2), grey);
        EXPECT_EQ(pixelAt(shown, 6, 6), grey);  // the border
        EXPECT_EQ(pixelAt(shown, 307, 100), grey);
        EXPECT_EQ(pixelAt(shown, 400, 300), grey);
    }
    EXPECT_EQ(canvas_->document().current.pixels.bytes, before.bytes);  // only the display
}

TEST_F(CanvasTest, RightDragSelectsAndAZeroDragClears) {
    mouse(WM_RBUTTONDOWN, MK_RBUTTON, 20, 30);
    EXPECT_EQ(canvas_->dragMode(), DragMode::Selecting);
    mouse(WM_MOUSEMOVE, MK_RBUTTON, 100, 80);
    EXPECT_EQ(selection(), (Rect{20, 30, 100, 80}));
    // Backwards past the anchor: the rectangle is normalised.
    mouse(WM_MOUSEMOVE, MK_RBUTTON, 5, 10);
    EXPECT_EQ(selection(), (Rect{5, 10, 20, 30}));
    mouse(WM_RBUTTONUP, 0, 120, 90);
    EXPECT_EQ(canvas_->dragMode(), DragMode::None);
    EXPECT_EQ(selection(), (Rect{20, 30, 120, 90}));

    rightDrag(0, 50, 50, 50, 50);
    EXPECT_TRUE(selection().empty());
    // From above and left of the picture to beyond it: clamped to the picture.
    rightDrag(0, -7, -7, 483, 383);
    const PixelImage& p = canvas_->document().current.pixels;
    EXPECT_EQ(selection(), (Rect{0, 0, p.width, p.height}));
}

TEST_F(CanvasTest, ShiftRightClickMovesTheNearerEdge) {
    canvas_->document().current.selection = Rect{20, 30, 100, 80};
    // Inside, near the right edge and the bottom edge: left and top stay as the anchor.
    rightDrag(MK_SHIFT, 90, 70, 130, 100);
    EXPECT_EQ(selection(), (Rect{20, 30, 130, 100}));
    // Left of the selection: the right edge is the anchor.
    rightDrag(MK_SHIFT, 10, 50, 10, 50);
    EXPECT_EQ(selection().left, 10);
    EXPECT_EQ(selection().right, 130);
}

TEST_F(CanvasTest, LeftButtonStartsTheToolDragOnlyInsideThePicture) {
    mouse(WM_LBUTTONDOWN, MK_LBUTTON, -4, -4);
    EXPECT_EQ(canvas_->dragMode(), DragMode::None);
    struct Case {
        WPARAM keys;
        int tool;
        DragMode mode;
    };
    for (const Case& c : {Case{0, IDM_TOOL_BRUSH, DragMode::BrushStroke},
                          Case{MK_CONTROL, IDM_TOOL_BRUSH, DragMode::Deforming},
                          Case{MK_SHIFT, IDM_TOOL_BRUSH, DragMode::Moving},
                          Case{0, IDM_TOOL_SKEW_FLIP, DragMode::Deforming}}) {
        SCOPED_TRACE(::testing::Message() << "keys " << c.keys << ", tool " << c.tool);
        appState().currentTool = c.tool;
        mouse(WM_LBUTTONDOWN, MK_LBUTTON | c.keys, 10, 10);
        EXPECT_EQ(canvas_->dragMode(), c.mode);
        mouse(WM_RBUTTONDOWN, MK_RBUTTON, 20, 20);  // ignored during a drag
        EXPECT_EQ(canvas_->dragMode(), c.mode);
        mouse(WM_LBUTTONUP, 0, 10, 10);
        EXPECT_EQ(canvas_->dragMode(), DragMode::None);
    }
}

TEST_F(CanvasTest, ScrollBarsMoveTheViewWithinTheirRange) {
    std::string message;
    setPicture(*canvas_, *createCanvasBitmap(1500, 120, message));
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
    setPicture(*canvas_, *createCanvasBitmap(100, 100, message));
    EXPECT_FALSE(GetWindowLongW(w, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(canvas_->viewOffset().x, 7);
}

}  // namespace
}  // namespace lumetra::win
