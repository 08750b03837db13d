#pragma once
// The canvas: the child window (class "LumetraImage") that owns the ImageDocument, shows the
// picture 1:1 (optionally brighter), scrolls it, lets the right button draw a selection, hands
// left-button drags to the tools and shows the play position.

#include <windows.h>

#include "document/canvas_image.h"
#include "image/win/canvas_view.h"
#include "base/win/message_handler.h"
#include "base/win/unique_handle.h"

namespace lumetra::win {

inline constexpr wchar_t kCanvasClassName[] = L"LumetraImage";

// Sent or posted to the canvas: wParam 0, lParam 0 when playback starts; wParam 1 with lParam a
// play position in sample values; wParam 1 with lParam -1 to remove the display.
inline constexpr UINT kPlayPositionMessage = WM_USER + 333;

// refreshView flags.
inline constexpr unsigned kRefreshScrollBars = 1;
inline constexpr unsigned kRefreshClearSelection = 2;
inline constexpr unsigned kRefreshKeepSelection = 0x1000;

enum class DragMode {
    None = 0,
    BrushStroke = 7101,
    Selecting = 7102,
    Moving = 7103,
    Deforming = 7104
};

// What the play-position display needs from the latest sound.
struct PlayMarkerSource {
    bool available = false;
    Rect rendered;  // picture coordinates of the rendered region
    int recordedWidth = 0;
    int recordedHeight = 0;
    int valuesPerColumn = 0;
};

class CanvasWindow : public WindowHandler {
  public:
    static bool registerClass(HINSTANCE instance);
    // Creates the canvas as a child of `parent`; the window owns the returned record and frees
    // it when it is destroyed. Null when the window cannot be made.
    static CanvasWindow* create(HWND parent, HINSTANCE instance, const RECT& rect);

    HWND window() const { return window_; }
    ImageDocument& document() { return document_; }
    const ImageDocument& document() const { return document_; }
    POINT viewOffset() const { return viewOffset_; }
    DragMode dragMode() const { return drag_; }

    // 0 only repaints; any other value lays the scroll bars out again; kRefreshClearSelection
    // also empties the selection unless kRefreshKeepSelection is set.
    void refreshView(unsigned flags);

    // Repaints after the brighter display or the selection style changed.
    void displayChanged();

    // True from a play-position start until its removal.
    bool playDisplayOn() const { return markerOn_; }

    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void onDetached() override;

  private:
    bool onCreate();
    void onDestroy();
    void onPaint();
    void onScroll(int bar, int code);
    void onRightDown(LPARAM lParam, WPARAM keys);
    void onRightUp(LPARAM lParam);
    void onLeftDown(LPARAM lParam, WPARAM keys);
    void onLeftUp();
    void onMouseMove(LPARAM lParam);
    void onPlayPosition(WPARAM p, LPARAM q);
    void onPlayPositionPaint(HDC dc);
    void playPosition(HDC dc, WPARAM p, LPARAM q);

    POINT picturePoint(LPARAM lParam) const;
    POINT clampedPicturePoint(LPARAM lParam) const;
    Rect spannedRect(POINT a, POINT b) const;
    void paintArea(HDC dc, const Rect& area, int decoration, bool statusUpdate,
                   const RECT* clip = nullptr);
    void paintBackground(HDC dc, const RECT& client);
    void reportPointer(POINT p);
    void drawPlayLine(HDC dc, int x, bool dotted);
    void drawPlayFrame(HDC dc);
    void endDrag();

    HWND window_ = nullptr;
    bool attached_ = false;
    ImageDocument document_;
    POINT viewOffset_{7, 7};
    AxisLayout horizontal_;
    AxisLayout vertical_;

    DragMode drag_ = DragMode::None;
    POINT anchor_{};
    POINT last_{};
    UniqueWindowDc dragDc_;
    HCURSOR cursorBeforeDrag_ = nullptr;

    // Play-position display.
    bool markerOn_ = false;
    bool markerLastWasStart_ = false;
    bool markerLastWasReset_ = true;
    int markerX_ = 0;
    bool markerDrawn_ = false;
};

}  // namespace lumetra::win
