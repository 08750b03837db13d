// The canvas window through a fake host that answers as the test sets it and records what the
// canvas asks: painting, the right button's selection, the left button's drags handed to the
// tools and the pointer readout. (The play position line: end to end; scrolling: canvas_view_test.)

#include "document/win/canvas_window.h"

#include "document/canvas_view.h"
#include "win_test.h"

namespace lumetra::win {
namespace {

// A system cursor for each cursor resource, so that the test can tell which one was asked.
HCURSOR cursorFor(int id) {
    return LoadCursorW(nullptr, id == IDC_CURSOR_BRUSH         ? IDC_CROSS
                                : id == IDC_CURSOR_MOVE        ? IDC_HAND
                                : id == IDC_CURSOR_ZOOM_ROTATE ? IDC_UPARROW
                                : id == IDC_CURSOR_SKEW_FLIP   ? IDC_IBEAM
                                : id == IDC_CURSOR_SELECT      ? IDC_NO
                                : id == 0                      ? IDC_SIZEALL
                                                               : IDC_ARROW);
}
const HCURSOR kArrow = LoadCursorW(nullptr, IDC_ARROW);

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
    void touchUndoSnapshot(int op) override { calls += "touch " + std::to_string(op) + ", "; }
    PlayMarkerSource playMarker() override { return marker; }
    void brushDab(POINT p) override { record("dab", p); }
    void startMove(POINT p) override { record("startMove", p); }
    void continueMove(POINT p) override { record("move", p); }
    void finishMove(POINT p) override { record("finishMove", p); }
    void startDeformation(DeformKind k, POINT p) override {
        record("deform " + std::to_string(int(k)), p);
    }
    void continueDeformation(POINT p) override { record("deforming", p); }
    void record(const std::string& what, POINT p) {
        calls += what + " " + std::to_string(p.x) + "," + std::to_string(p.y) + ", ";
    }
    bool brighter = false, rendering = false, snapshotAllowed = true;
    int tool = IDM_TOOL_BRUSH;
    HCURSOR current = kArrow;
    std::wstring status[3];
    std::string calls;  // what the canvas asked, in order
    PlayMarkerSource marker;
};

// A 400 x 300 black picture (4 s, row r at 100 + r Hz) on a 500 x 400 canvas in a visible frame.
class CanvasTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { CanvasWindow::registerClass(module()); }
    void SetUp() override {
        frame_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 600, 420,
                                     nullptr, nullptr, module(), nullptr));
        ASSERT_TRUE(canvas_.create(frame_.get(), module(), RECT{0, 0, 500, 400}));
        setPicture(blank(400, 300));
        document_.current.settings.outputTime = 4.0;
        for (int row = 0; row < 300; ++row)
            document_.current.settings.rowFrequencies.push_back(100.0 + row);
    }
    static PixelImage blank(int width, int height) {
        std::string message;
        return *createCanvasBitmap(width, height, message);
    }
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

// The picture 1:1 at (7, 7) on the grey, brighter on demand; only the display changes.
TEST_F(CanvasTest, PaintsThePicture1To1OnTheGreyBackgroundAndBrighterOnDemand) {
    setPicture(testPattern(300, 200));
    const PixelImage before = document_.current.pixels;
    for (bool brighter : {false, true}) {
        host_.brighter = brighter;
        canvas_.displayChanged();
        const PixelImage shown = screen();
        const auto d = [&](std::uint8_t v) { return brighter ? decorateByte(v, 1) : v; };
        for (auto [x, y] : {std::pair{0, 0}, {299, 199}, {150, 77}}) {
            const Rgb p = pixelAt(before, x, y);
            EXPECT_EQ(pixelAt(shown, x + 7, y + 7), (Rgb{d(p.red), d(p.green), d(p.blue)}))
                << x << "," << y << " brighter " << brighter;
        }
        for (auto [x, y] : {std::pair{6, 6}, {307, 100}, {400, 300}})
            EXPECT_EQ(pixelAt(shown, x, y), (Rgb{128, 128, 128})) << x << "," << y;
    }
    EXPECT_EQ(document_.current.pixels.bytes, before.bytes);
}

TEST_F(CanvasTest, RightDragSelectsAndReportsWithShiftTheNearerEdgeMoves) {
    mouse(WM_RBUTTONDOWN, MK_RBUTTON, 20, 30);
    EXPECT_EQ(canvas_.dragMode(), DragMode::Selecting);
    EXPECT_EQ(host_.current, cursorFor(IDC_CURSOR_SELECT));
    mouse(WM_MOUSEMOVE, MK_RBUTTON, 100, 80);
    EXPECT_EQ(host_.status[1], L"20, 30, (80, 50)");
    mouse(WM_RBUTTONUP, 0, 5, 10);  // backwards past the anchor: normalised
    EXPECT_EQ(canvas_.dragMode(), DragMode::None);
    EXPECT_EQ(selection(), (Rect{5, 10, 20, 30}));
    EXPECT_EQ(host_.current, kArrow) << "the cursor before the drag";
    rightDrag(0, -7, -7, 483, 383);  // clamped to the picture
    EXPECT_EQ(selection(), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(host_.calls, "") << "a selection takes no undo snapshot";
    // Shift moves the nearer edges: inside near the bottom right, then left of the selection.
    document_.current.selection = Rect{20, 30, 100, 80};
    rightDrag(MK_SHIFT, 90, 70, 130, 100);
    EXPECT_EQ(selection(), (Rect{20, 30, 130, 100}));
    rightDrag(MK_SHIFT, 10, 50, 10, 50);
    EXPECT_EQ(selection(), (Rect{10, 50, 130, 100}));
}

TEST_F(CanvasTest, LeftDragsGoToTheToolAfterItsSnapshot) {
    // Down at (10, 10), a move to (12, 14), then an up or the capture taken away. (A dab, a Shift
    // move and a Ctrl deformation on the picture: end to end.)
    const char* const kBrush = "snapshot 7101, dab 10,10, dab 12,14, touch 7101, ";
    const char* const kMove = "snapshot 0, startMove 10,10, move 12,14, finishMove 12,14, ";
    const char* const kZoom = "snapshot 0, deform 324 10,10, deforming 12,14, ";
    const char* const kSkew = "snapshot 0, deform 326 10,10, deforming 12,14, ";
    const std::tuple<WPARAM, int, DragMode, int, const char*, bool> cases[] = {
        {0, IDM_TOOL_BRUSH, DragMode::BrushStroke, IDC_CURSOR_BRUSH, kBrush, true},
        {0, IDM_TOOL_MOVE, DragMode::Moving, 0, kMove, false},
        {MK_CONTROL | MK_SHIFT, IDM_TOOL_MOVE, DragMode::Deforming, IDC_CURSOR_SKEW_FLIP, kSkew,
         false},
        {0, IDM_TOOL_ZOOM_ROTATE, DragMode::Deforming, IDC_CURSOR_ZOOM_ROTATE, kZoom, false},
        {0, IDM_TOOL_SKEW_FLIP, DragMode::Deforming, IDC_CURSOR_SKEW_FLIP, kSkew, false},
    };
    for (const auto& [keys, tool, mode, cursor, calls, captureLost] : cases) {
        SCOPED_TRACE(::testing::Message() << "keys " << keys << ", tool " << tool << captureLost);
        host_.tool = tool;
        host_.calls.clear();
        host_.current = kArrow;
        mouse(WM_LBUTTONDOWN, MK_LBUTTON | keys, 10, 10);
        EXPECT_EQ(canvas_.dragMode(), mode);
        EXPECT_EQ(host_.current, cursorFor(cursor));
        mouse(WM_RBUTTONDOWN, MK_RBUTTON, 20, 20);  // ignored during a drag
        mouse(WM_MOUSEMOVE, MK_LBUTTON, 12, 14);
        if (captureLost)
            SendMessageW(canvas_.window(), WM_CAPTURECHANGED, 0, 0);
        else
            mouse(WM_LBUTTONUP, 0, 12, 14);
        EXPECT_EQ(canvas_.dragMode(), DragMode::None);
        EXPECT_EQ(host_.calls, calls);
        EXPECT_EQ(host_.current, kArrow) << "the cursor before the drag";
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
    EXPECT_EQ(host_.current, kArrow);
}

TEST_F(CanvasTest, PointerReadoutAndToolCursor) {
    host_.tool = IDM_TOOL_MOVE;
    mouse(WM_MOUSEMOVE, 0, 100, 50);  // 100 * 4 s / 400; row 300 - 1 - 50 = 249
    EXPECT_EQ(host_.status[2], L"1.00 sec, 349.00 Hz, F4 -1 cents");
    EXPECT_EQ(host_.current, cursorFor(IDC_CURSOR_MOVE));
    mouse(WM_MOUSEMOVE, 0, 0, 50);  // the first column is inside
    EXPECT_EQ(host_.status[2], L"0.00 sec, 349.00 Hz, F4 -1 cents");
    mouse(WM_MOUSEMOVE, 0, 400, 50);  // outside: the arrow comes back
    EXPECT_EQ(host_.current, kArrow);
    host_.rendering = true;  // a render keeps its wait cursor
    host_.current = LoadCursorW(nullptr, IDC_WAIT);
    mouse(WM_MOUSEMOVE, 0, 10, 10);
    EXPECT_EQ(host_.current, LoadCursorW(nullptr, IDC_WAIT));
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

}  // namespace
}  // namespace lumetra::win
