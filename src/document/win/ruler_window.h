#pragma once
// The rulers beside the canvas: time above it (seconds, as the render places each column) and
// pitch left of it (octaves named with their notes and pitches, semitone ticks where there is
// room). Both follow the canvas's scroll and zoom and mark the pointer. The canvas owns them and
// hands each the scene to draw.

#include <windows.h>

#include <climits>
#include <vector>

#include "base/win/message_handler.h"
#include "document/canvas_zoom.h"

namespace lumetra::win {

inline constexpr wchar_t kRulerClassName[] = L"LumetraRuler";
inline constexpr int kTimeRulerHeight = 20;
inline constexpr int kPitchRulerWidth = 76;

enum class RulerKind { Time, Pitch };

struct RulerScene {
    ViewTransform view;
    std::int32_t pictureWidth = 0;
    std::int32_t pictureHeight = 0;
    double seconds = 0;
    std::vector<double> rows;  // row pitches, bottom row first (prepareOscillators)
    // Where the canvas's client area starts along the ruler, in ruler coordinates.
    int offset = 0;
    // The pointer along the ruler's axis in canvas client coordinates; INT_MIN: none.
    int pointer = INT_MIN;
};

class RulerWindow : public WindowHandler {
  public:
    explicit RulerWindow(RulerKind kind) : kind_(kind) {}

    static bool registerClass(HINSTANCE instance);
    bool create(HWND parent, HINSTANCE instance);
    HWND window() const { return window_; }

    // Draws the ruler for a new scene.
    void show(RulerScene scene);
    // Moves the pointer mark only.
    void markPointer(int pointer);

    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void onPaint();
    void paintTime(HDC dc, const RECT& client);
    void paintPitch(HDC dc, const RECT& client);
    void paintPointer(HDC dc, const RECT& client);

    RulerKind kind_;
    HWND window_ = nullptr;
    RulerScene scene_;
};

}  // namespace lumetra::win
