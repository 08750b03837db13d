#include "render/win/render_flow.h"

#include <commctrl.h>

#include "render/wav_output.h"
#include "render/win/playback_win.h"
#include "render/win/render_bridge.h"
#include "shell/win/app_state.h"
#include "shell/win/status_bar.h"
#include "shell/win/tool_windows.h"

namespace lumetra::win {
namespace {

void setToolbarFeedback(int pressed, int opposite, bool on) {
    HWND toolbar = appState().toolbar;
    if (!toolbar) return;
    SendMessageW(toolbar, TB_CHECKBUTTON, WPARAM(pressed), MAKELPARAM(on ? TRUE : FALSE, 0));
    SendMessageW(toolbar, TB_ENABLEBUTTON, WPARAM(opposite), MAKELPARAM(on ? FALSE : TRUE, 0));
    UpdateWindow(toolbar);
}

}  // namespace

void runRenderFlow(CanvasWindow& canvas, int command) {
    AppState& s = appState();
    // A render command that arrives through the render's own message pump is ignored.
    if (s.renderRunning) return;
    if (!stopPlaybackForRender()) {
        setStatusText(0, L"Failed to quit playback... try again");
        return;
    }
    const int pressed = (command == IDM_RENDER_IMAGE || command == IDM_RENDER_SELECTION)
                            ? IDM_RENDER_IMAGE
                            : IDM_RENDER_WITHOUT_BLUE;
    const int opposite = pressed == IDM_RENDER_IMAGE ? IDM_RENDER_WITHOUT_BLUE : IDM_RENDER_IMAGE;
    setToolbarFeedback(pressed, opposite, true);

    s.currentCursor = LoadCursorW(nullptr, IDC_WAIT);
    SetCursor(s.currentCursor);
    // The tool windows edit the settings the render reads; they wait until it has finished.
    const bool toolsWereEnabled = s.toolWindowsEnabled;
    enableToolWindows(false);
    s.renderRunning = true;
    const bool complete = renderDocument(canvas.document(), command);
    s.renderRunning = false;
    enableToolWindows(toolsWereEnabled);
    s.currentCursor = toolCursor(s.currentTool);
    SetCursor(s.currentCursor);

    if (GetForegroundWindow() != s.mainWindow) {
        SetForegroundWindow(s.mainWindow);
        keepToolWindowsAboveOwner();
    }
    if (complete) playAfterRender();
    setToolbarFeedback(pressed, opposite, false);
    if (s.closeAfterRender) PostMessageW(s.mainWindow, WM_CLOSE, 0, 0);
}

void onWaveOutDone(WPARAM wParam, LPARAM lParam) {
    onBufferDone(wParam, lParam);
}

bool playbackActive() {
    return playbackRunning();
}
bool soundfileOpen() {
    const RenderContext* context = renderContext();
    return context && (context->renderInProgress || context->soundfile.isOpen());
}

std::int64_t latestSoundLength() {
    return std::int64_t(latestSound().length());
}

PlayMarkerSource playMarkerSource() {
    const PlaybackSound& sound = latestSound();
    PlayMarkerSource source;
    source.available = sound.length() > 0;
    source.rendered = sound.renderedRect;
    source.recordedWidth = sound.pictureWidth;
    source.recordedHeight = sound.pictureHeight;
    source.valuesPerColumn = sound.valuesPerColumn;
    return source;
}

void pumpOneMessage() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return;
    // Mouse input is thrown away so that the picture cannot be edited while it sounds.
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MBUTTONDBLCLK) return;
    if (msg.message == WM_QUIT) {
        PostQuitMessage(int(msg.wParam));
        return;
    }
    DispatchMessageW(&msg);
    if (msg.message == WM_PAINT && msg.hwnd) UpdateWindow(msg.hwnd);
}

bool escapeHeld() {
    return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

}  // namespace lumetra::win
