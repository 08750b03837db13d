// The canvas's zoom, wheel and rulers: the view changes that leave the picture as it is.

#include <windowsx.h>

#include <algorithm>

#include "base/win/utf16.h"
#include "document/ruler_scale.h"
#include "document/win/canvas_window.h"

namespace lumetra::win {
namespace {

// Window pixels one wheel notch scrolls: two of the scroll bars' lines.
constexpr int kWheelScroll = 50;

}  // namespace

void CanvasWindow::onWheel(WPARAM wParam, LPARAM lParam, bool sideways) {
    if (!window_) return;
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    const WORD keys = GET_KEYSTATE_WPARAM(wParam);
    if (delta == 0) return;
    if ((keys & MK_CONTROL) && !sideways) {
        // The pointer's picture point stays where it is; the message has screen coordinates.
        POINT anchor{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(window_, &anchor);
        zoomTo(view_.step + (delta > 0 ? 1 : -1), anchor);
        return;
    }
    const int notches = delta / WHEEL_DELTA != 0 ? delta / WHEEL_DELTA : (delta > 0 ? 1 : -1);
    if (sideways) {
        scrollTo(SB_HORZ, horizontal_.position + notches * kWheelScroll);
    } else if (keys & MK_SHIFT) {
        scrollTo(SB_HORZ, horizontal_.position - notches * kWheelScroll);
    } else {
        scrollTo(SB_VERT, vertical_.position - notches * kWheelScroll);
    }
}

void CanvasWindow::zoomTo(int step, POINT anchor) {
    step = clampZoomStep(step);
    if (!window_ || step == view_.step || drag_ != DragMode::None) return;
    horizontal_.position = std::max(0, anchoredScroll(anchor.x, view_.scrollX, view_.step, step));
    vertical_.position = std::max(0, anchoredScroll(anchor.y, view_.scrollY, view_.step, step));
    view_.step = step;
    changed_ = Rect{};
    markerDrawn_ = false;  // the old play line goes with the repaint
    layOut();
    host_.setStatusText(0, L"Zoom " + toUtf16(zoomName(step)));
}

void CanvasWindow::zoomBy(int steps) {
    if (!window_) return;
    RECT client{};
    GetClientRect(window_, &client);
    zoomTo(view_.step + steps, POINT{client.right / 2, client.bottom / 2});
}

void CanvasWindow::fitPicture() {
    if (!window_) return;
    RECT client{};
    GetClientRect(window_, &client);
    // Measured as the scroll bars' layout does: without the bars.
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    const int width = client.right + ((style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    const int height = client.bottom + ((style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    const PixelImage& pixels = document_.current.pixels;
    zoomTo(fitZoomStep(width, height, pixels.width, pixels.height), POINT{0, 0});
}

RulerScene CanvasWindow::rulerScene() const {
    RulerScene scene;
    scene.view = view_;
    const CanvasImage& image = document_.current;
    scene.pictureWidth = image.pixels.width;
    scene.pictureHeight = image.pixels.height;
    scene.seconds = image.settings.outputTime;
    scene.rows = rowPitches(image.settings);
    return scene;
}

void CanvasWindow::updateRulers() {
    if (!rulersShown_ || !window_) return;
    // The rulers start where the canvas's client area starts, inside its sunken edge.
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    RulerScene scene = rulerScene();
    for (RulerWindow* ruler : {&timeRuler_, &pitchRuler_}) {
        if (!ruler->window()) continue;
        POINT at = origin;
        ScreenToClient(ruler->window(), &at);
        RulerScene own = scene;
        own.offset = ruler == &timeRuler_ ? at.x : at.y;
        ruler->show(std::move(own));
    }
}

}  // namespace lumetra::win
