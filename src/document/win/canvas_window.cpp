#include "document/win/canvas_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string>
#include <tuple>

#include "base/win/text.h"
#include "base/win/utf16.h"
#include "document/ruler_scale.h"
#include "image/win/dib_paint.h"
#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

constexpr COLORREF kBackground = RGB(128, 128, 128);
constexpr COLORREF kBorder = 0x808080;

RECT intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

bool isEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT toRECT(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

Rect toRect(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

Rect unite(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

void fillRect(HDC dc, const RECT& r, HBRUSH brush) {
    if (!isEmpty(r)) FillRect(dc, &r, brush);
}

// The pixel column of a position in the latest sound (sample values from its start).
int markerColumn(const PlayMarkerSource& s, int pictureWidth, LPARAM q) {
    double perPicture = double(s.recordedWidth + 1) * double(s.valuesPerColumn);
    if (perPicture <= 0) return s.rendered.left;
    return int(std::trunc(double(q - 1) / perPicture * pictureWidth + s.rendered.left + 0.5));
}

}  // namespace

bool CanvasWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_PARENTDC;
    wc.lpfnWndProc = windowTrampoline;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The class brush is made once and lives as long as the class.
    wc.hbrBackground = CreateSolidBrush(kBackground);
    wc.lpszClassName = kCanvasClassName;
    return RegisterClassExW(&wc) != 0 && RulerWindow::registerClass(instance);
}

bool CanvasWindow::create(HWND parent, HINSTANCE instance, const RECT& rect) {
    viewOffset_ = POINT{7, 7};
    area_ = rect;
    if (!CreateWindowExW(WS_EX_CLIENTEDGE, kCanvasClassName, L"",
                         WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, instance,
                         static_cast<WindowHandler*>(this)))
        return false;
    // The rulers are a comfort: the canvas works without them.
    timeRuler_.create(parent, instance);
    pitchRuler_.create(parent, instance);
    return true;
}

void CanvasWindow::place(const RECT& area) {
    area_ = area;
    if (!window_) return;
    const bool rulers = rulersShown_ && timeRuler_.window() && pitchRuler_.window();
    const int left = area.left + (rulers ? kPitchRulerWidth : 0);
    const int top = area.top + (rulers ? kTimeRulerHeight : 0);
    MoveWindow(window_, left, top, std::max<int>(area.right - left, 0),
               std::max<int>(area.bottom - top, 0), TRUE);
    for (HWND ruler : {timeRuler_.window(), pitchRuler_.window()})
        if (ruler) ShowWindow(ruler, rulers ? SW_SHOWNA : SW_HIDE);
    if (rulers) {
        MoveWindow(timeRuler_.window(), left, area.top, std::max<int>(area.right - left, 0),
                   kTimeRulerHeight, TRUE);
        MoveWindow(pitchRuler_.window(), area.left, top, kPitchRulerWidth,
                   std::max<int>(area.bottom - top, 0), TRUE);
    }
    refreshView(ViewRefresh::Layout);
}

void CanvasWindow::showRulers(bool shown) {
    if (rulersShown_ == shown) return;
    rulersShown_ = shown;
    place(area_);
}

LRESULT CanvasWindow::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            window_ = window;
            break;
        case WM_NCDESTROY:
            window_ = nullptr;
            break;
        case WM_DESTROY:
            onDestroy();
            return 0;
        case WM_ERASEBKGND:
            // The paint message draws every pixel of the client area through a back buffer.
            return 1;
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(host_.cursor() ? host_.cursor() : LoadCursorW(nullptr, IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_HSCROLL:
            onScroll(SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_VSCROLL:
            onScroll(SB_VERT, LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            // Never passed on: the main window hands its wheel messages to the canvas.
            onWheel(wParam, lParam, message == WM_MOUSEHWHEEL);
            return 0;
        case WM_MOUSEMOVE:
            onMouseMove(lParam);
            return 0;
        case WM_LBUTTONDOWN:
            onLeftDown(lParam, wParam);
            return 0;
        case WM_LBUTTONUP:
            onLeftUp();
            return 0;
        case WM_RBUTTONDOWN:
            onRightDown(lParam, wParam);
            return 0;
        case WM_RBUTTONUP:
            onRightUp(lParam);
            return 0;
        case WM_CAPTURECHANGED:
            // Capture taken away mid-drag (a message box, another program): end the drag cleanly.
            // A stroke ends as a release ends it, so that the next quick stroke still merges.
            if (drag_ != DragMode::None && HWND(lParam) != window) {
                if (drag_ == DragMode::BrushStroke)
                    host_.touchUndoSnapshot(int(DragMode::BrushStroke));
                endDrag();
            }
            return 0;
        case kPlayPositionMessage:
            onPlayPosition(wParam, lParam);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void CanvasWindow::onDestroy() {
    if (drag_ != DragMode::None) endDrag();
}

// ---- view refresh and scrolling ----

void CanvasWindow::refreshView(ViewRefresh refresh) {
    if (!window_) return;
    if (refresh == ViewRefresh::Repaint) {
        InvalidateRect(window_, nullptr, TRUE);
        return;
    }
    if (refresh == ViewRefresh::NewPicture) document_.current.selection = Rect{};
    layOut();
}

void CanvasWindow::layOut() {
    RECT client{};
    GetClientRect(window_, &client);
    LONG style = GetWindowLongW(window_, GWL_STYLE);
    // The layout is computed for the client area as it would be without scroll bars.
    int width = client.right + ((style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    int height = client.bottom + ((style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    const PixelImage& pixels = document_.current.pixels;
    ScrollLayout layout = computeScrollLayout(
        width, height, viewExtent(pixels.width, view_.step), viewExtent(pixels.height, view_.step),
        GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CYVSCROLL), horizontal_.position,
        vertical_.position);
    horizontal_ = layout.horizontal;
    vertical_ = layout.vertical;
    for (auto [bar, axis, state] : {std::tuple{SB_HORZ, &horizontal_, &document_.horizontal},
                                    std::tuple{SB_VERT, &vertical_, &document_.vertical}}) {
        state->position = axis->position;
        state->range = axis->maximum;
        state->page = axis->page;
        ShowScrollBar(window_, bar, axis->visible ? TRUE : FALSE);
        if (axis->visible) {
            SCROLLINFO info{sizeof info,      SIF_ALL,        0, axis->maximum,
                            UINT(axis->page), axis->position, 0};
            SetScrollInfo(window_, bar, &info, TRUE);
        }
    }
    view_.scrollX = horizontal_.position;
    view_.scrollY = vertical_.position;
    viewOffset_ = POINT{7 - horizontal_.position, 7 - vertical_.position};
    InvalidateRect(window_, nullptr, TRUE);
    updateRulers();
}

void CanvasWindow::onScroll(int bar, int code) {
    AxisLayout& axis = bar == SB_HORZ ? horizontal_ : vertical_;
    if (!axis.visible) return;
    int position = axis.position;
    switch (code) {
        case SB_LINEUP:
            position -= 25;
            break;
        case SB_LINEDOWN:
            position += 25;
            break;
        case SB_PAGEUP:
            position -= axis.page;
            break;
        case SB_PAGEDOWN:
            position += axis.page;
            break;
        case SB_THUMBTRACK: {
            SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(window_, bar, &info);
            position = info.nTrackPos;
            break;
        }
        default:
            return;
    }
    scrollTo(bar, position);
}

void CanvasWindow::scrollTo(int bar, int position) {
    AxisLayout& axis = bar == SB_HORZ ? horizontal_ : vertical_;
    if (!axis.visible) return;
    axis.position = clampScrollPosition(axis, position);
    (bar == SB_HORZ ? document_.horizontal : document_.vertical).position = axis.position;
    SetScrollPos(window_, bar, axis.position, TRUE);
    view_.scrollX = horizontal_.position;
    view_.scrollY = vertical_.position;
    viewOffset_ = POINT{7 - horizontal_.position, 7 - vertical_.position};
    // Only the view moved: the reduced copy stays as it is unless a change waits to be painted.
    const bool pending = GetUpdateRect(window_, nullptr, FALSE) != FALSE;
    InvalidateRect(window_, nullptr, FALSE);
    if (!pending) {
        viewOnlyPaint_ = true;
        UpdateWindow(window_);
        viewOnlyPaint_ = false;
    }
    updateRulers();
}

void CanvasWindow::displayChanged() {
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

// ---- painting ----

void CanvasWindow::onPaint() {
    auto paint = beginPaint(window_);
    RECT client{};
    GetClientRect(window_, &client);
    RECT update = intersect(paint.get().paint.rcPaint, client);
    if (isEmpty(update)) return;

    // Everything is drawn into a back buffer the size of the update area, then copied at once.
    UniqueMemoryDc buffer(CreateCompatibleDC(paint.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(paint.get(), update.right - update.left,
                                               update.bottom - update.top));
    if (!buffer || !bitmap) return;
    auto selectBitmap = selectObject(buffer.get(), bitmap.get());
    SetViewportOrgEx(buffer.get(), -update.left, -update.top, nullptr);
    HDC dc = buffer.get();

    const PixelImage& pixels = document_.current.pixels;
    if (view_.step < 0) {
        // A paint that the view's own move caused shows the reduced copy as it is; any other
        // follows a change of the pixels it covers (all of them when it covers the window).
        Rect changed = changed_;
        if (!viewOnlyPaint_) {
            const bool whole = update.left <= 0 && update.top <= 0 &&
                               update.right >= client.right && update.bottom >= client.bottom;
            changed = unite(changed, whole ? Rect{0, 0, pixels.width, pixels.height}
                                           : pictureRectUnder(view_, toRect(update)));
        }
        updateReducedView(reduced_, pixels, view_.step, changed);
        changed_ = Rect{};
    } else if (!reduced_.pixels.empty()) {
        reduced_ = ReducedView{};
    }
    drawPicture(dc, update, host_.showBrighter() ? kDecorationBrighten : 0);
    if (markerOn_) onPlayPositionPaint(dc);
    paintBackground(dc, client);
    const Rect& selection = document_.current.selection;
    if (selection.right != 0 && selection.bottom != 0) {
        paintArea(dc, selection, (host_.showBrighter() ? 1 : 0) + kDecorationOutline,
                  drag_ != DragMode::Deforming);
    }
    SetViewportOrgEx(dc, 0, 0, nullptr);
    BitBlt(paint.get(), update.left, update.top, update.right - update.left,
           update.bottom - update.top, dc, 0, 0, SRCCOPY);
    if (!viewOnlyPaint_) host_.canvasPainted();
}

RECT CanvasWindow::pictureWindowRect() const {
    const PixelImage& pixels = document_.current.pixels;
    return toRECT(windowRectOf(view_, Rect{0, 0, pixels.width, pixels.height}));
}

// The picture's pixels in a window area (clipped to the picture), as the zoom shows them.
void CanvasWindow::drawPicture(HDC dc, const RECT& area, int pixelBits) {
    RECT client{};
    GetClientRect(window_, &client);
    const RECT inside = intersect(intersect(area, client), pictureWindowRect());
    if (isEmpty(inside)) return;
    const PixelImage& pixels = document_.current.pixels;
    const Rect view{inside.left - viewOffset_.x, inside.top - viewOffset_.y,
                    inside.right - viewOffset_.x, inside.bottom - viewOffset_.y};
    if (view_.step == 0 && !pixelBits) {
        drawPixels(dc, inside.left, inside.top, pixels, view);
        return;
    }
    PixelImage shown = viewPixels(pixels, reduced_, view_.step, view);
    if (pixelBits) shown = decoratedCopy(shown, Rect{0, 0, shown.width, shown.height}, pixelBits);
    drawPixels(dc, inside.left, inside.top, shown, Rect{0, 0, shown.width, shown.height});
}

void CanvasWindow::paintBackground(HDC dc, const RECT& client) {
    RECT picture = pictureWindowRect();
    auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(window_, GCLP_HBRBACKGROUND));
    // Bands above, left of, right of and below the picture, each only where it has a size.
    fillRect(dc, RECT{client.left, client.top, client.right, picture.top}, brush);
    fillRect(dc, RECT{client.left, picture.top, picture.left, picture.bottom}, brush);
    fillRect(dc, RECT{picture.right, picture.top, client.right, picture.bottom}, brush);
    fillRect(dc, RECT{client.left, picture.bottom, client.right, client.bottom}, brush);
    UniquePen pen(CreatePen(PS_SOLID, 1, kBorder));
    auto selectPen = selectObject(dc, pen.get());
    auto selectBrush = selectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, picture.left - 1, picture.top - 1, picture.right + 1, picture.bottom + 1);
}

void CanvasWindow::paintArea(HDC dc, const Rect& area, int decoration, bool statusUpdate,
                             const RECT* clip) {
    RECT client{};
    GetClientRect(window_, &client);
    // Right and bottom inclusive: the outline runs on the first pixel outside the area.
    const Rect shown = windowRectOf(view_, area);
    RECT screen{shown.left, shown.top, shown.right + 1, shown.bottom + 1};
    RECT clipped = intersect(screen, client);
    if (!isEmpty(clipped)) {
        RECT painted = clip ? intersect(clipped, *clip) : clipped;
        RECT picture = pictureWindowRect();
        drawPicture(dc, painted, decoration & (kDecorationBrighten | kDecorationInvert));
        // The column and row past the picture belong to the background.
        auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(window_, GCLP_HBRBACKGROUND));
        fillRect(
            dc, intersect(painted, RECT{picture.right, painted.top, painted.right, painted.bottom}),
            brush);
        fillRect(
            dc,
            intersect(painted, RECT{painted.left, picture.bottom, painted.right, painted.bottom}),
            brush);
        if (decoration & kDecorationOutline) {
            UniquePen pen(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
            auto selectPen = selectObject(dc, pen.get());
            auto rop = setRasterMode(dc, R2_NOTXORPEN);
            int oldMode = SetBkMode(dc, TRANSPARENT);
            const int right = screen.right - 1;
            const int bottom = screen.bottom - 1;
            // Each pixel is drawn once, so that drawing the outline twice restores the screen.
            if (screen.top >= client.top) {
                MoveToEx(dc, clipped.left, screen.top, nullptr);
                LineTo(dc, clipped.right, screen.top);
            }
            if (bottom < client.bottom && bottom != screen.top) {
                MoveToEx(dc, clipped.left, bottom, nullptr);
                LineTo(dc, clipped.right, bottom);
            }
            int sideTop = std::max<int>(clipped.top, screen.top + 1);
            int sideBottom = std::min<int>(clipped.bottom, bottom);
            if (sideTop < sideBottom) {
                if (screen.left >= client.left) {
                    MoveToEx(dc, screen.left, sideTop, nullptr);
                    LineTo(dc, screen.left, sideBottom);
                }
                if (right < client.right && right != screen.left) {
                    MoveToEx(dc, right, sideTop, nullptr);
                    LineTo(dc, right, sideBottom);
                }
            }
            SetBkMode(dc, oldMode);
        }
    }
    if (statusUpdate) {
        host_.setStatusText(
            1, formatText(399, L"%d, %d, %d, %d", area.left, area.top, area.right, area.bottom));
    }
}

// ---- mouse ----

void CanvasWindow::invalidatePicture(const Rect& area) {
    // The reduced copy must follow the part of the change that lies outside the window too.
    if (view_.step < 0) changed_ = unite(changed_, area);
    const RECT client = toRECT(windowRectOf(view_, area));
    InvalidateRect(window_, &client, FALSE);
}

POINT CanvasWindow::picturePoint(LPARAM lParam) const {
    // The 16-bit signed coordinates of the mouse message; the picture pixel under them.
    const ViewPoint p = pictureUnder(view_, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return POINT{p.x, p.y};
}

POINT CanvasWindow::clampedPicturePoint(LPARAM lParam) const {
    // A selection's sides snap to the picture edge nearest to the pointer.
    const ViewPoint e = edgeNearWindow(view_, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    POINT p{e.x, e.y};
    const PixelImage& pixels = document_.current.pixels;
    p.x = std::clamp<LONG>(p.x, 0, pixels.width);
    p.y = std::clamp<LONG>(p.y, 0, pixels.height);
    return p;
}

Rect CanvasWindow::spannedRect(POINT a, POINT b) const {
    return Rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void CanvasWindow::onRightDown(LPARAM lParam, WPARAM keys) {
    if (drag_ != DragMode::None) return;
    POINT p = clampedPicturePoint(lParam);
    Rect& selection = document_.current.selection;
    if (keys & MK_SHIFT) {
        // Shift adjusts the existing selection: the anchor is the edge that stays.
        const Rect s = selection;
        if (p.x >= s.left && p.x <= s.right) {
            anchor_.x = (p.x - s.left >= s.right - p.x) ? s.left : s.right;
        } else {
            anchor_.x = p.x > s.right ? s.left : s.right;
        }
        if (p.y >= s.top && p.y <= s.bottom) {
            anchor_.y = (p.y - s.top < s.bottom - p.y) ? s.bottom : s.top;
        } else {
            anchor_.y = p.y > s.bottom ? s.top : s.bottom;
        }
    } else {
        anchor_ = p;
    }
    dragDc_ = windowDc(window_);
    const int brighter = host_.showBrighter() ? 1 : 0;
    if (!selection.empty()) paintArea(dragDc_.get(), selection, brighter, true);
    SetCapture(window_);
    drag_ = DragMode::Selecting;
    cursorBeforeDrag_ = host_.cursor();
    host_.setCursor(host_.toolCursor(IDC_CURSOR_SELECT));
    SetCursor(host_.cursor());
    last_ = p;
    selection = spannedRect(anchor_, p);
    paintArea(dragDc_.get(), selection, host_.dragDecoration() | brighter, false);
    host_.setStatusText(1, formatText(399, L"%d, %d, %d, %d", anchor_.x, anchor_.y,
                                      std::abs(anchor_.x - p.x), std::abs(anchor_.y - p.y)));
}

void CanvasWindow::onRightUp(LPARAM lParam) {
    if (drag_ != DragMode::Selecting) return;
    const int brighter = host_.showBrighter() ? 1 : 0;
    Rect& selection = document_.current.selection;
    paintArea(dragDc_.get(), selection, brighter, false);
    POINT p = clampedPicturePoint(lParam);
    selection = spannedRect(anchor_, p);
    if (selection.empty()) {
        selection = Rect{};
        host_.setStatusText(1, L"No selection");
    } else {
        paintArea(dragDc_.get(), selection, brighter + kDecorationOutline, true);
    }
    endDrag();
}

void CanvasWindow::onLeftDown(LPARAM lParam, WPARAM keys) {
    if (drag_ != DragMode::None) return;
    POINT p = picturePoint(lParam);
    const PixelImage& pixels = document_.current.pixels;
    if (p.x < 0 || p.y < 0 || p.x >= pixels.width || p.y >= pixels.height) return;
    anchor_ = p;
    last_ = p;
    const int tool = host_.currentTool();
    const bool shift = (keys & MK_SHIFT) != 0;
    const bool control = (keys & MK_CONTROL) != 0;
    HCURSOR before = host_.cursor();
    if (tool == IDM_TOOL_ZOOM_ROTATE || tool == IDM_TOOL_SKEW_FLIP || control) {
        if (!host_.storeUndoSnapshot(0)) return;
        DeformKind kind =
            (tool == IDM_TOOL_SKEW_FLIP || shift) ? DeformKind::SkewFlip : DeformKind::ZoomRotate;
        host_.setCursor(host_.toolCursor(int(kind)));
        host_.startDeformation(kind, p);
        drag_ = DragMode::Deforming;
    } else if (tool != IDM_TOOL_MOVE && !shift) {
        if (!host_.storeUndoSnapshot(int(DragMode::BrushStroke))) return;
        host_.setCursor(host_.toolCursor(IDC_CURSOR_BRUSH));
        host_.brushDab(p);
        drag_ = DragMode::BrushStroke;
    } else {
        if (!host_.storeUndoSnapshot(0)) return;
        host_.setCursor(LoadCursorW(nullptr, IDC_SIZEALL));
        host_.startMove(p);
        drag_ = DragMode::Moving;
    }
    cursorBeforeDrag_ = before;
    SetCursor(host_.cursor());
    SetCapture(window_);
}

void CanvasWindow::onLeftUp() {
    switch (drag_) {
        case DragMode::BrushStroke:
            host_.touchUndoSnapshot(int(DragMode::BrushStroke));
            break;
        case DragMode::Moving:
            host_.finishMove(last_);
            break;
        case DragMode::Deforming:
            break;
        default:
            return;
    }
    endDrag();
}

void CanvasWindow::endDrag() {
    DragMode was = drag_;
    drag_ = DragMode::None;
    dragDc_.reset();
    if (GetCapture() == window_) ReleaseCapture();
    if (cursorBeforeDrag_) host_.setCursor(cursorBeforeDrag_);
    cursorBeforeDrag_ = nullptr;
    SetCursor(host_.cursor() ? host_.cursor() : LoadCursorW(nullptr, IDC_ARROW));
    if (was == DragMode::Moving || was == DragMode::Deforming) refreshView(ViewRefresh::Repaint);
}

void CanvasWindow::onMouseMove(LPARAM lParam) {
    if (rulersShown_) {
        timeRuler_.markPointer(GET_X_LPARAM(lParam));
        pitchRuler_.markPointer(GET_Y_LPARAM(lParam));
    }
    POINT p = picturePoint(lParam);
    last_ = p;
    switch (drag_) {
        case DragMode::BrushStroke:
            host_.brushDab(p);
            break;
        case DragMode::Moving:
            host_.continueMove(p);
            UpdateWindow(window_);
            return;
        case DragMode::Deforming: {
            // Only the newest position matters for the costly redraw.
            MSG pending;
            while (PeekMessageW(&pending, window_, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
                p = picturePoint(pending.lParam);
            }
            last_ = p;
            host_.continueDeformation(p);
            UpdateWindow(window_);
            return;
        }
        case DragMode::Selecting:
            onSelectionDrag(lParam);
            break;
        case DragMode::None:
            break;
    }
    reportPointer(p);
}

void CanvasWindow::onSelectionDrag(LPARAM lParam) {
    POINT q = clampedPicturePoint(lParam);
    const int brighter = host_.showBrighter() ? 1 : 0;
    Rect& selection = document_.current.selection;
    const Rect old = selection;
    const Rect now = spannedRect(anchor_, q);
    const PixelImage& pixels = document_.current.pixels;
    auto clampToPicture = [&](Rect r) {
        r.left = std::clamp(r.left, 0, pixels.width);
        r.right = std::clamp(r.right, 0, pixels.width);
        r.top = std::clamp(r.top, 0, pixels.height);
        r.bottom = std::clamp(r.bottom, 0, pixels.height);
        return r;
    };
    // Repaint the strips of the old rectangle that stick out of the new one.
    if (old.left < now.left) {
        paintArea(dragDc_.get(), clampToPicture(Rect{old.left - 1, old.top, now.left, old.bottom}),
                  brighter, false);
    }
    if (old.right > now.right) {
        paintArea(dragDc_.get(),
                  clampToPicture(Rect{now.right, old.top, old.right + 1, old.bottom}), brighter,
                  false);
    }
    if (old.top < now.top) {
        paintArea(dragDc_.get(), clampToPicture(Rect{old.left, old.top - 1, old.right, now.top}),
                  brighter, false);
    }
    if (old.bottom > now.bottom) {
        paintArea(dragDc_.get(),
                  clampToPicture(Rect{old.left, now.bottom, old.right, old.bottom + 1}), brighter,
                  false);
    }
    selection = now;
    paintArea(dragDc_.get(), selection, host_.dragDecoration() | brighter, false);
    host_.setStatusText(1, formatText(399, L"%d, %d, (%d, %d)", anchor_.x, anchor_.y,
                                      std::abs(anchor_.x - q.x), std::abs(anchor_.y - q.y)));
}

void CanvasWindow::reportPointer(POINT p) {
    const CanvasImage& image = document_.current;
    const PixelImage& pixels = image.pixels;
    const bool inside = p.x >= 0 && p.y >= 0 && p.x < pixels.width && p.y < pixels.height;
    if (inside) {
        const RenderSettings& settings = image.settings;
        double seconds = double(p.x) * settings.outputTime / double(pixels.width);
        size_t row = size_t(pixels.height - 1 - p.y);
        double hertz = row < settings.rowFrequencies.size() ? settings.rowFrequencies[row] : 0.0;
        std::wstring text = formatText(399, L"%.2f sec, %.2f Hz", seconds, hertz);
        if (hertz > 0) text += L", " + toUtf16(noteText(hertz));
        host_.setStatusText(2, text);
    }
    if (drag_ != DragMode::None || host_.renderRunning()) return;
    host_.setCursor(inside ? host_.toolCursor(host_.currentTool())
                           : LoadCursorW(nullptr, IDC_ARROW));
    SetCursor(host_.cursor());
}

// ---- play position ----

void CanvasWindow::drawPlayLine(HDC dc, int x, bool dotted) {
    PlayMarkerSource source = host_.playMarker();
    RECT client{};
    GetClientRect(window_, &client);
    const Rect shown = windowRectOf(view_, source.rendered);
    int top = std::max<int>(shown.top, client.top);
    int bottom = std::min<int>(shown.bottom, client.bottom);
    if (bottom - top <= 3 || x < client.left || x >= client.right) return;
    UniquePen pen(CreatePen(dotted ? PS_DOT : PS_SOLID, 1, RGB(0, 0, 0)));
    auto selectPen = selectObject(dc, pen.get());
    auto rop = setRasterMode(dc, R2_NOTXORPEN);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, x, top, nullptr);
    LineTo(dc, x, bottom);
    SetBkMode(dc, oldMode);
}

void CanvasWindow::drawPlayFrame(HDC dc) {
    PlayMarkerSource source = host_.playMarker();
    RECT client{};
    GetClientRect(window_, &client);
    RECT frame = intersect(toRECT(windowRectOf(view_, source.rendered)), client);
    if (!isEmpty(frame)) DrawFocusRect(dc, &frame);
}

void CanvasWindow::removePlayPosition() {
    if (markerOn_ && window_) SendMessageW(window_, kPlayPositionMessage, 1, -1);
}

void CanvasWindow::onPlayPositionPaint(HDC dc) {
    playPosition(dc, 15, 0);
}

void CanvasWindow::onPlayPosition(WPARAM p, LPARAM q) {
    auto dc = windowDc(window_);
    playPosition(dc.get(), p, q);
}

void CanvasWindow::playPosition(HDC dc, WPARAM p, LPARAM q) {
    PlayMarkerSource source = host_.playMarker();
    const bool freshStart = p == 0 && q == 0;
    const bool reset = p == 1 && q < 0;
    if (reset && (markerLastWasStart_ || markerLastWasReset_)) return;
    markerLastWasStart_ = freshStart;
    markerLastWasReset_ = reset;
    if (freshStart) markerOn_ = true;
    if (!source.available) return;
    const PixelImage& pixels = document_.current.pixels;
    const bool partial = source.rendered.width() != source.recordedWidth ||
                         source.rendered.height() != source.recordedHeight;
    if (partial && (freshStart || reset || p == 15)) drawPlayFrame(dc);
    int x = markerX_;
    if (q >= 1) {
        x = windowOfEdge(view_, {markerColumn(source, pixels.width, q), 0}).x;
    } else if (freshStart) {
        x = windowOfEdge(view_, {source.rendered.left, 0}).x;
    }
    if (p != 0 && p != 15) {
        if (markerDrawn_) drawPlayLine(dc, markerX_, partial);
        markerDrawn_ = false;
    }
    if (q >= 0) {
        drawPlayLine(dc, x, partial);
        markerDrawn_ = true;
        markerX_ = x;
    }
    if (reset) markerOn_ = false;
}

}  // namespace lumetra::win
