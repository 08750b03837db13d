#include "document/win/ruler_window.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/win/text.h"
#include "base/win/unique_handle.h"
#include "base/win/utf16.h"
#include "document/ruler_scale.h"

namespace lumetra::win {
namespace {

constexpr COLORREF kRulerInk = RGB(0, 0, 0);
constexpr COLORREF kPointerInk = RGB(200, 0, 0);
constexpr int kLabelGap = 10;   // pixels between two time labels at the least
constexpr int kMinTickGap = 4;  // pixels between two ticks at the least

void line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

int textWidth(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    return size.cx;
}

std::wstring secondsLabel(double t, int decimals) {
    return formatText(63, L"%.*f s", decimals, t);
}

}  // namespace

bool RulerWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowTrampoline;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kRulerClassName;
    return RegisterClassExW(&wc) != 0;
}

bool RulerWindow::create(HWND parent, HINSTANCE instance) {
    return CreateWindowExW(0, kRulerClassName, L"", WS_CHILD, 0, 0, 0, 0, parent, nullptr, instance,
                           static_cast<WindowHandler*>(this)) != nullptr;
}

void RulerWindow::show(RulerScene scene) {
    scene_ = std::move(scene);
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void RulerWindow::markPointer(int pointer) {
    if (scene_.pointer == pointer) return;
    scene_.pointer = pointer;
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

LRESULT RulerWindow::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            window_ = window;
            break;
        case WM_NCDESTROY:
            window_ = nullptr;
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            onPaint();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RulerWindow::onPaint() {
    auto paint = beginPaint(window_);
    RECT client{};
    GetClientRect(window_, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    // Drawn into a back buffer so that a moving pointer mark does not flicker.
    UniqueMemoryDc buffer(CreateCompatibleDC(paint.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
    if (!buffer || !bitmap) return;
    HDC dc = buffer.get();
    auto selectBitmap = selectObject(dc, bitmap.get());
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    auto selectFont = selectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kRulerInk);
    UniquePen pen(CreatePen(PS_SOLID, 1, kRulerInk));
    {
        auto selectPen = selectObject(dc, pen.get());
        if (kind_ == RulerKind::Time) {
            paintTime(dc, client);
        } else {
            paintPitch(dc, client);
        }
    }
    paintPointer(dc, client);
    BitBlt(paint.get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

void RulerWindow::paintTime(HDC dc, const RECT& client) {
    const RulerScene& s = scene_;
    line(dc, client.left, client.bottom - 1, client.right, client.bottom - 1);
    if (s.pictureWidth <= 0 || !(s.seconds > 0)) return;
    const double origin = s.offset + kCanvasMargin - s.view.scrollX;
    auto xOf = [&](double t) {
        return int(std::floor(
            origin + viewOfPosition(timeColumn(t, s.pictureWidth, s.seconds) + 0.5, s.view.step)));
    };
    // Seconds per window pixel; the label step leaves room for the widest label and a gap.
    const double perPixel =
        s.seconds / (double(s.pictureWidth) + 1) / viewOfPosition(1, s.view.step);
    double step = labelStep((textWidth(dc, secondsLabel(s.seconds, 0)) + kLabelGap) * perPixel);
    const int decimals = stepDecimals(step);
    step = std::max(
        step, labelStep((textWidth(dc, secondsLabel(s.seconds, decimals)) + kLabelGap) * perPixel));
    const int decimalsUsed = stepDecimals(step);
    // Minor ticks at a fifth (a half for steps of 2) where they stand far enough apart.
    const int parts = std::lround(step / std::pow(10.0, std::floor(std::log10(step)))) == 2 ? 2 : 5;
    const double minor = step / parts;
    const bool minorTicks = minor / perPixel >= kMinTickGap;
    const double first = columnTime(0, s.pictureWidth, s.seconds);
    const double last = columnTime(s.pictureWidth - 1, s.pictureWidth, s.seconds);
    const double unit = minorTicks ? minor : step;
    const long long k0 = (long long)std::ceil(first / unit - 1e-9);
    const long long k1 = (long long)std::floor(last / unit + 1e-9);
    const int bottom = client.bottom - 1;
    for (long long k = k0; k <= k1; ++k) {
        const double t = double(k) * unit;
        const int x = xOf(t);
        if (x < client.left - 200) continue;
        if (x > client.right) break;
        const bool major = !minorTicks || k % parts == 0;
        if (!major) {
            line(dc, x, bottom - 3, x, bottom);
            continue;
        }
        line(dc, x, bottom - 7, x, bottom);
        if (x < client.left) continue;  // a label cut at its start would read as another time
        const std::wstring label = secondsLabel(t, decimalsUsed);
        TextOutW(dc, x + 2, client.top + 1, label.c_str(), int(label.size()));
    }
}

void RulerWindow::paintPitch(HDC dc, const RECT& client) {
    const RulerScene& s = scene_;
    line(dc, client.right - 1, client.top, client.right - 1, client.bottom);
    if (s.rows.size() < 2) return;
    const double origin = s.offset + kCanvasMargin - s.view.scrollY;
    const double low = std::min(s.rows.front(), s.rows.back());
    const double high = std::max(s.rows.front(), s.rows.back());
    const bool semitones = viewOfPosition(rowsPerSemitone(s.rows), s.view.step) >= kMinTickGap;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int textHeight = metrics.tmHeight;
    const int right = client.right - 1;
    int lastLabel = INT_MAX;
    for (int midi = nearestNote(low).midi - 1; midi <= nearestNote(high).midi + 1; ++midi) {
        const double hertz = noteHertz(midi);
        if (hertz < low * (1 - 1e-9) || hertz > high * (1 + 1e-9)) continue;
        const int y =
            int(std::floor(origin + viewOfPosition(pitchRow(hertz, s.rows), s.view.step)));
        if (y < client.top - textHeight || y > client.bottom + textHeight) continue;
        if (midi % 12 == 0) {
            line(dc, right - 12, y, right, y);
            // Octave labels always, unless the one below would be overwritten.
            if (lastLabel - y >= textHeight) {
                const std::wstring label =
                    toUtf16(noteName(midi)) + formatText(63, L" %.0f Hz", hertz);
                TextOutW(dc, client.left + 2, y - textHeight / 2, label.c_str(), int(label.size()));
                lastLabel = y;
            }
        } else if (semitones) {
            const bool natural = midi % 12 != 1 && midi % 12 != 3 && midi % 12 != 6 &&
                                 midi % 12 != 8 && midi % 12 != 10;
            line(dc, right - (natural ? 6 : 3), y, right, y);
        }
    }
}

void RulerWindow::paintPointer(HDC dc, const RECT& client) {
    if (scene_.pointer == INT_MIN) return;
    UniquePen pen(CreatePen(PS_SOLID, 1, kPointerInk));
    auto selectPen = selectObject(dc, pen.get());
    const int at = scene_.offset + scene_.pointer;
    if (kind_ == RulerKind::Time) {
        line(dc, at, client.top, at, client.bottom);
    } else {
        line(dc, client.left, at, client.right, at);
    }
}

}  // namespace lumetra::win
