#pragma once
// The canvas: the child window (class "LumetraImage") that shows the document's picture at a
// zoom from 1/16 to 16 times (optionally brighter), scrolls it, lets the right button draw a
// selection, hands left-button drags to the tools in picture coordinates and shows the play
// position. Its time and pitch rulers stand beside it. What it needs of the program it asks of
// its CanvasHost.

#include <windows.h>

#include <string_view>
#include <vector>

#include "base/win/message_handler.h"
#include "base/win/unique_handle.h"
#include "document/canvas_image.h"
#include "document/canvas_view.h"
#include "document/canvas_zoom.h"
#include "document/win/ruler_window.h"

namespace lumetra::win {

inline constexpr wchar_t kCanvasClassName[] = L"LumetraImage";

// Sent or posted to the canvas: wParam 0, lParam 0 when playback starts; wParam 1 with lParam a
// play position in sample values; wParam 1 with lParam -1 to remove the display.
inline constexpr UINT kPlayPositionMessage = WM_USER + 333;

// What refreshView does besides repainting.
enum class ViewRefresh : unsigned {
    Repaint = 0,         // only repaint
    Layout = 1,          // lay the scroll bars out again (a picture of another size)
    NewPicture = 1 | 2,  // lay out and clear the selection
};

enum class DragMode {
    None = 0,
    BrushStroke = 7101,
    Selecting = 7102,
    Moving = 7103,
    Deforming = 7104
};

enum class DeformKind { ZoomRotate = 324, SkewFlip = 326 };

// What the play-position display needs from the latest sound.
struct PlayMarkerSource {
    bool available = false;
    Rect rendered;  // picture coordinates of the rendered region
    int recordedWidth = 0;
    int recordedHeight = 0;
    int valuesPerColumn = 0;
};

class CanvasHost {
  public:
    virtual ~CanvasHost() = default;

    // The brighter display and the selection's drawing flags while it is dragged.
    virtual bool showBrighter() = 0;
    virtual int dragDecoration() = 0;
    // The tool of the toolbar (329, 323, 324, 326).
    virtual int currentTool() = 0;
    // The program's cursor over the canvas, which drags change and put back.
    virtual HCURSOR cursor() = 0;
    virtual void setCursor(HCURSOR cursor) = 0;
    // The cursor resource of a tool or drag (323, 324, 326, 329, 330); the arrow when missing.
    virtual HCURSOR toolCursor(int id) = 0;
    virtual bool renderRunning() = 0;
    virtual void setStatusText(int part, std::wstring_view text) = 0;
    // Before a change of pixels; false: the change must not happen.
    virtual bool storeUndoSnapshot(int operation) = 0;
    // The end of a brush stroke, so that the next one within a second shares its snapshot.
    virtual void touchUndoSnapshot(int operation) = 0;
    virtual PlayMarkerSource playMarker() = 0;
    // The canvas has painted: what a status text says about the picture may have changed.
    virtual void canvasPainted() {}

    // The tools' left-button drags, in picture coordinates; the snapshot is already taken.
    virtual void brushDab(POINT p) = 0;
    virtual void startMove(POINT p) = 0;
    virtual void continueMove(POINT p) = 0;
    virtual void finishMove(POINT p) = 0;
    virtual void startDeformation(DeformKind kind, POINT p) = 0;
    virtual void continueDeformation(POINT p) = 0;
};

class CanvasWindow : public WindowHandler {
  public:
    CanvasWindow(ImageDocument& document, CanvasHost& host) : document_(document), host_(host) {}

    // Registers the canvas's and the rulers' window classes.
    static bool registerClass(HINSTANCE instance);
    // Creates the canvas (and its hidden rulers) as children of `parent`; false when the window
    // cannot be made.
    bool create(HWND parent, HINSTANCE instance, const RECT& rect);

    // Lays the canvas and the shown rulers out in `area` of the parent's client area.
    void place(const RECT& area);
    bool rulersShown() const { return rulersShown_; }
    void showRulers(bool shown);

    // The zoom step: -4 (1/16) .. 4 (16 times).
    int zoomStep() const { return view_.step; }
    // Zooms to `step`, keeping the picture point under `anchor` (client coordinates) in place.
    void zoomTo(int step, POINT anchor);
    // Zooms by whole steps about the middle of the client area.
    void zoomBy(int steps);
    // The largest zoom at which the whole picture fits the window.
    void fitPicture();
    const ViewTransform& view() const { return view_; }

    HWND window() const { return window_; }
    ImageDocument& document() { return document_; }
    const ImageDocument& document() const { return document_; }
    POINT viewOffset() const { return viewOffset_; }
    DragMode dragMode() const { return drag_; }

    void refreshView(ViewRefresh refresh);
    // Repaints the part of the view that shows `area` of the picture (a brush dab, say).
    void invalidatePicture(const Rect& area);

    // Repaints after the brighter display or the selection style changed.
    void displayChanged();

    // True from a play-position start until its removal.
    bool playDisplayOn() const { return markerOn_; }
    // Takes the play-position display away (a new picture has no sound of its own yet).
    void removePlayPosition();

    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void onDestroy();
    void onPaint();
    void onScroll(int bar, int code);
    void onWheel(WPARAM wParam, LPARAM lParam, bool sideways);
    // Scrolls one axis to `position` (limited by the bar) and repaints from the reduced copy.
    void scrollTo(int bar, int position);
    void layOut();
    void drawPicture(HDC dc, const RECT& area, int pixelBits);
    RECT pictureWindowRect() const;
    void updateRulers();
    RulerScene rulerScene() const;
    void onRightDown(LPARAM lParam, WPARAM keys);
    void onRightUp(LPARAM lParam);
    void onLeftDown(LPARAM lParam, WPARAM keys);
    void onLeftUp();
    void onMouseMove(LPARAM lParam);
    void onSelectionDrag(LPARAM lParam);
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

    ImageDocument& document_;
    CanvasHost& host_;
    HWND window_ = nullptr;
    POINT viewOffset_{7, 7};
    ViewTransform view_;
    // The reduced copy shown below 1:1, and the picture area changed since it was last brought up
    // to date beyond what the next paint covers.
    ReducedView reduced_;
    Rect changed_;
    bool viewOnlyPaint_ = false;
    RulerWindow timeRuler_{RulerKind::Time};
    RulerWindow pitchRuler_{RulerKind::Pitch};
    bool rulersShown_ = false;
    RECT area_{};
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
