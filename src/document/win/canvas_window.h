#pragma once
// The canvas: the child window (class "LumetraImage") that shows the document's picture 1:1
// (optionally brighter), scrolls it, lets the right button draw a selection, hands left-button
// drags to the tools and shows the play position. What it needs of the program it asks of its
// CanvasHost.

#include <windows.h>

#include <string_view>

#include "base/win/message_handler.h"
#include "base/win/unique_handle.h"
#include "document/canvas_image.h"
#include "document/canvas_view.h"

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

    static bool registerClass(HINSTANCE instance);
    // Creates the canvas as a child of `parent`; false when the window cannot be made.
    bool create(HWND parent, HINSTANCE instance, const RECT& rect);

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
