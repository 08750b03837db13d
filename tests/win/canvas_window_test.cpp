// The canvas window on screen: the picture is drawn at (7, 7) on the grey background, brighter on
// demand, scrolled by its bars; the right button draws the selection, the left button hands the
// drags to the tools, the pointer is read out and the play position is shown, each through a fake
// host that answers as the test sets it and records what the canvas asks.

#include "document/win/canvas_window.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/win/unique_handle.h"
#include "document/canvas_view.h"
#include "image/win/dib_paint.h"
#include "resources/resource_ids.h"
#include "win_test_pictures.h"

namespace lumetra::win {
namespace {

// A system cursor for each cursor resource, so that the test can tell which one was asked.
HCURSOR cursorFor(int id) {
    return LoadCursorW(nullptr, id == IDC_CURSOR_BRUSH         ? IDC_CROSS
                                : id == IDC_CURSOR_MOVE        ? IDC_HAND
                                : id == IDC_CURSOR_ZOOM_ROTATE ? IDC_UPARROW
                                : id == IDC_CURSOR_SKEW_FLIP   ? IDC_IBEAM
                                : id == IDC_CURSOR_SELECT      ? IDC_NO
                                                               : IDC_ARROW);
}

class FakeCanvasHost final : public CanvasHost {
  public:
    bool showBrighter() override { return brighter; }
    int dragDecoration() override { return 5; }
    int currentTool() override { return tool; }
    HCURSOR cursor() override { return current; }
    void setCursor(HCURSOR c) override { current = c; }
    HCURSOR toolCursor(int id) override { return cursorFor(id); }
    bool renderRunning() override { return rendering; }
    void setStatusText(int part, std::wstring_view text) override { status[part] = text; }
    bool storeUndoSnapshot(int operation) override {
        calls += "snapshot " + std::to_string(operation) + ", ";
        return snapshotAllowed;
    }
    void touchUndoSnapshot(int operation) override {
        calls += "touch " + std::to_string(operation) + ", ";
    }
    PlayMarkerSource playMarker() override { return marker; }
    void brushDab(POINT p) override { record("dab", p); }
    void startMove(POINT p) override { record("startMove", p); }
    void continueMove(POINT p) override { record("move", p); }
    void finishMove(POINT p) override { record("finishMove", p); }
    void startDeformation(DeformKind kind, POINT p) override {
        record("deform " + std::to_string(int(kind)), p);
    }
    void continueDeformation(POINT p) override { record("deforming", p); }

    bool brighter = false;
    int tool = IDM_TOOL_BRUSH;
    HCURSOR current = LoadCursorW(nullptr, IDC_ARROW);
    bool rendering = false;
    bool snapshotAllowed = true;
    PlayMarkerSource marker;
    std::wstring status[3];
    std::string calls;  // what the canvas asked, in order

  private:
    void record(const std::string& what, POINT p) {
        calls += what + " " + std::to_string(p.x) + "," + std::to_string(p.y) + ", ";
    }
};

// A 400 x 300 black picture (4 s, row r at 100 + r Hz) on a 500 x 400 canvas in a visible frame.
class CanvasTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        CanvasWindow::registerClass(GetModuleHandleW(nullptr));
        WNDCLASSW frameClass{};
        frameClass.lpfnWndProc = DefWindowProcW;
        frameClass.hInstance = GetModuleHandleW(nullptr);
        frameClass.lpszClassName = L"LumetraCanvasTestFrame";
        RegisterClassW(&frameClass);
    }
    void SetUp() override {
        frame_.reset(CreateWindowExW(0, L"LumetraCanvasTestFrame", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                     600, 420, nullptr, nullptr, GetModuleHandleW(nullptr),
                                     nullptr));
        ASSERT_TRUE(canvas_.create(frame_.get(), GetModuleHandleW(nullptr), RECT{0, 0, 500, 400}));
        std::string message;
        setPicture(*createCanvasBitmap(400, 300, message));
        document_.current.settings.outputTime = 4.0;
        for (int row = 0; row < 300; ++row)
            document_.current.settings.rowFrequencies.push_back(100.0 + row);
    }

    // A new picture, laid out as opening a file does.
    void setPicture(PixelImage pixels) {
        adoptPixels(document_.current, std::move(pixels));
        canvas_.refreshView(ViewRefresh::NewPicture);
    }
    const Rect& selection() const { return document_.current.selection; }

    // A mouse message at a point of the picture. Moves of the real pointer waiting in the queue go
    // first: a deformation would take the newest.
    void mouse(UINT message, WPARAM keys, int x, int y) {
        MSG pending;
        while (PeekMessageW(&pending, canvas_.window(), WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
        }
        SendMessageW(canvas_.window(), message, keys, MAKELPARAM(x + 7, y + 7));
    }
    void rightDrag(WPARAM keys, int fromX, int fromY, int toX, int toY) {
        mouse(WM_RBUTTONDOWN, MK_RBUTTON | keys, fromX, fromY);
        mouse(WM_RBUTTONUP, 0, toX, toY);
    }

    // What the canvas shows, read back from its client area.
    PixelImage screen() {
        HWND w = canvas_.window();
        UpdateWindow(w);
        RECT client{};
        GetClientRect(w, &client);
        DibSurface surface(client.right, client.bottom);
        BitBlt(surface.dc(), 0, 0, client.right, client.bottom, windowDc(w).get(), 0, 0, SRCCOPY);
        return surface.pixels();
    }

    ImageDocument document_;
    FakeCanvasHost host_;
    CanvasWindow canvas_{document_, host_};
    UniqueWindow frame_;  // destroyed first, and the canvas window with it
};

TEST_F(CanvasTest, PaintsThePicture1To1OnTheGreyBackgroundAndBrighterOnDemand) {
    setPicture(testPattern(300, 200));
    const PixelImage before = document_.current.pixels;
    for (bool brighter : {false, true}) {
        SCOPED_TRACE(brighter ? "brighter" : "as it is");
        host_.brighter = brighter;
        canvas_.displayChanged();
        const PixelImage shown = screen();
        ASSERT_FALSE(shown.empty());
        const auto expectedAt = [&](int x, int y) {
            const Rgb p = pixelAt(before, x, y);
            const auto d = [&](std::uint8_t v) { return brighter ? decorateByte(v, 1) : v; };
            return Rgb{d(p.red), d(p.green), d(p.blue)};
        };
        for (int y = 0; y < 200; y += 3)
            for (int x = 0; x < 300; x += 5)
                ASSERT_EQ(pixelAt(shown, x + 7, y + 7), expectedAt(x, y)) << x << "," << y;
        EXPECT_EQ(pixelAt(shown, 306, 206), expectedAt(299, 199));
        for (auto [x, y] : {std::pair{2, 2}, {6, 6}, {307, 100}, {400, 300}})
            EXPECT_EQ(pixelAt(shown, x, y), (Rgb{128, 128, 128})) << x << "," << y;
    }
    EXPECT_EQ(document_.current.pixels.bytes, before.bytes);  // only the display
}

TEST_F(CanvasTest, RightDragSelectsAndReportsWithShiftTheNearerEdgeMoves) {
    mouse(WM_RBUTTONDOWN, MK_RBUTTON, 20, 30);
    EXPECT_EQ(canvas_.dragMode(), DragMode::Selecting);
    EXPECT_EQ(host_.current, cursorFor(IDC_CURSOR_SELECT));
    mouse(WM_MOUSEMOVE, MK_RBUTTON, 100, 80);
    EXPECT_EQ(selection(), (Rect{20, 30, 100, 80}));
    EXPECT_EQ(host_.status[1], L"20, 30, (80, 50)");
    // Backwards past the anchor: the rectangle is normalised.
    mouse(WM_MOUSEMOVE, MK_RBUTTON, 5, 10);
    EXPECT_EQ(selection(), (Rect{5, 10, 20, 30}));
    mouse(WM_RBUTTONUP, 0, 120, 90);
    EXPECT_EQ(canvas_.dragMode(), DragMode::None);
    EXPECT_EQ(selection(), (Rect{20, 30, 120, 90}));
    EXPECT_EQ(host_.status[1], L"20, 30, 120, 90");
    EXPECT_EQ(host_.current, LoadCursorW(nullptr, IDC_ARROW)) << "the cursor before the drag";

    rightDrag(0, 50, 50, 50, 50);
    EXPECT_TRUE(selection().empty());
    // From above and left of the picture to beyond it: clamped to the picture.
    rightDrag(0, -7, -7, 483, 383);
    EXPECT_EQ(selection(), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(host_.calls, "") << "a selection takes no undo snapshot";

    // Shift moves the nearer edge of the selection.
    document_.current.selection = Rect{20, 30, 100, 80};
    // Inside, near the right edge and the bottom edge: left and top stay as the anchor.
    rightDrag(MK_SHIFT, 90, 70, 130, 100);
    EXPECT_EQ(selection(), (Rect{20, 30, 130, 100}));
    // Left of the selection: the right edge is the anchor.
    rightDrag(MK_SHIFT, 10, 50, 10, 50);
    EXPECT_EQ(selection().left, 10);
    EXPECT_EQ(selection().right, 130);
}

TEST_F(CanvasTest, LeftDragsGoToTheToolAfterItsSnapshot) {
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    struct Case {
        WPARAM keys;
        int tool;
        DragMode mode;
        int cursor;                // the cursor resource during the drag; 0: the four arrows
        const char* calls;         // down at (10, 10), move to (12, 14), up
        bool captureLost = false;  // the drag ends with its capture taken away, not with an up
    };
    const char* const kMove = "snapshot 0, startMove 10,10, move 12,14, finishMove 12,14, ";
    const Case cases[] = {
        {0, IDM_TOOL_BRUSH, DragMode::BrushStroke, IDC_CURSOR_BRUSH,
         "snapshot 7101, dab 10,10, dab 12,14, touch 7101, "},
        {0, IDM_TOOL_BRUSH, DragMode::BrushStroke, IDC_CURSOR_BRUSH,
         "snapshot 7101, dab 10,10, dab 12,14, touch 7101, ", true},
        {MK_SHIFT, IDM_TOOL_BRUSH, DragMode::Moving, 0, kMove},
        {0, IDM_TOOL_MOVE, DragMode::Moving, 0, kMove},
        {MK_CONTROL, IDM_TOOL_BRUSH, DragMode::Deforming, IDC_CURSOR_ZOOM_ROTATE,
         "snapshot 0, deform 324 10,10, deforming 12,14, "},
        {MK_CONTROL | MK_SHIFT, IDM_TOOL_MOVE, DragMode::Deforming, IDC_CURSOR_SKEW_FLIP,
         "snapshot 0, deform 326 10,10, deforming 12,14, "},
        {0, IDM_TOOL_ZOOM_ROTATE, DragMode::Deforming, IDC_CURSOR_ZOOM_ROTATE,
         "snapshot 0, deform 324 10,10, deforming 12,14, "},
        {0, IDM_TOOL_SKEW_FLIP, DragMode::Deforming, IDC_CURSOR_SKEW_FLIP,
         "snapshot 0, deform 326 10,10, deforming 12,14, "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "keys " << c.keys << ", tool " << c.tool
                                          << (c.captureLost ? ", capture lost" : ""));
        host_.tool = c.tool;
        host_.calls.clear();
        host_.current = arrow;
        mouse(WM_LBUTTONDOWN, MK_LBUTTON | c.keys, 10, 10);
        EXPECT_EQ(canvas_.dragMode(), c.mode);
        EXPECT_EQ(host_.current,
                  c.cursor ? cursorFor(c.cursor) : LoadCursorW(nullptr, IDC_SIZEALL));
        mouse(WM_RBUTTONDOWN, MK_RBUTTON, 20, 20);  // ignored during a drag
        mouse(WM_MOUSEMOVE, MK_LBUTTON, 12, 14);
        if (c.captureLost)
            SendMessageW(canvas_.window(), WM_CAPTURECHANGED, 0, 0);
        else
            mouse(WM_LBUTTONUP, 0, 12, 14);
        EXPECT_EQ(canvas_.dragMode(), DragMode::None);
        EXPECT_EQ(host_.calls, c.calls);
        EXPECT_EQ(host_.current, arrow) << "the cursor before the drag";
    }
    EXPECT_TRUE(selection().empty());

    // Outside the picture, or with the snapshot refused, nothing starts.
    host_.calls.clear();
    mouse(WM_LBUTTONDOWN, MK_LBUTTON, -4, -4);
    mouse(WM_LBUTTONDOWN, MK_LBUTTON, 400, 10);
    EXPECT_EQ(host_.calls, "");
    host_.tool = IDM_TOOL_BRUSH;
    host_.snapshotAllowed = false;
    mouse(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
    EXPECT_EQ(canvas_.dragMode(), DragMode::None);
    EXPECT_EQ(host_.calls, "snapshot 7101, ");
    EXPECT_EQ(host_.current, arrow);
}

TEST_F(CanvasTest, PointerReadoutAndToolCursor) {
    host_.tool = IDM_TOOL_MOVE;
    mouse(WM_MOUSEMOVE, 0, 100, 50);  // 100 * 4 s / 400; row 300 - 1 - 50 = 249
    EXPECT_EQ(host_.status[2], L"1.00 sec, 349.00 Hz, F4 -1 cents");
    EXPECT_EQ(host_.current, cursorFor(IDC_CURSOR_MOVE));
    // Outside the picture: the readout stays, the arrow comes back.
    mouse(WM_MOUSEMOVE, 0, 400, 50);
    EXPECT_EQ(host_.status[2], L"1.00 sec, 349.00 Hz, F4 -1 cents");
    EXPECT_EQ(host_.current, LoadCursorW(nullptr, IDC_ARROW));
    // A render keeps its wait cursor.
    host_.rendering = true;
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    host_.current = wait;
    mouse(WM_MOUSEMOVE, 0, 10, 10);
    EXPECT_EQ(host_.current, wait);
}

TEST_F(CanvasTest, PlayPositionLineFollowsTheSoundAndGoesAway) {
    host_.marker = PlayMarkerSource{true, Rect{0, 0, 400, 300}, 400, 300, 10};
    HWND w = canvas_.window();
    UpdateWindow(w);
    // A black picture: the line shows white.
    const auto lineAt = [&](int windowX) {
        return pixelAt(screen(), windowX, 100) == Rgb{255, 255, 255};
    };
    SendMessageW(w, kPlayPositionMessage, 0, 0);
    EXPECT_TRUE(canvas_.playDisplayOn());
    EXPECT_TRUE(lineAt(7));
    // Value 2006 of 401 columns of 10 values: column 2005 / 4010 * 400 = 200.
    SendMessageW(w, kPlayPositionMessage, 1, 2006);
    EXPECT_FALSE(lineAt(7));
    EXPECT_TRUE(lineAt(207));
    canvas_.removePlayPosition();
    EXPECT_FALSE(canvas_.playDisplayOn());
    EXPECT_FALSE(lineAt(207));
}

TEST_F(CanvasTest, ScrollBarsMoveTheViewWithinTheirRange) {
    std::string message;
    setPicture(*createCanvasBitmap(1500, 120, message));
    HWND w = canvas_.window();
    EXPECT_TRUE(GetWindowLongW(w, GWL_STYLE) & WS_HSCROLL);
    EXPECT_FALSE(GetWindowLongW(w, GWL_STYLE) & WS_VSCROLL);
    const ScrollState& s = document_.horizontal;
    const auto scroll = [&](WPARAM how, int times) {
        for (int i = 0; i < times; ++i)
            SendMessageW(w, WM_HSCROLL, how, 0);
        return s.position;
    };
    EXPECT_EQ(scroll(SB_LINEDOWN, 1), 25);
    EXPECT_EQ(scroll(SB_PAGEDOWN, 1), 25 + s.page);
    EXPECT_EQ(canvas_.viewOffset().x, 7 - 25 - s.page);
    // The core limits the position (the ends: canvas_view_test); here that the bars ask it.
    EXPECT_EQ(scroll(SB_PAGEDOWN, 20), s.range - s.page + 1);
    EXPECT_EQ(scroll(SB_LINEUP, 1), s.range - s.page + 1 - 25);
    EXPECT_EQ(scroll(SB_LINEUP, 100), 0);
    EXPECT_EQ(canvas_.viewOffset().x, 7);
    // A picture that fits again hides the bar and puts the view back at (7, 7).
    SendMessageW(w, WM_HSCROLL, SB_PAGEDOWN, 0);
    setPicture(*createCanvasBitmap(100, 100, message));
    EXPECT_FALSE(GetWindowLongW(w, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(canvas_.viewOffset().x, 7);
}

}  // namespace
}  // namespace lumetra::win
