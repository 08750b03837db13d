// New Image and the About box.

#include <string>
#include <utility>

#include "image/win/canvas_window.h"
#include "image/win/new_image_dialog.h"
#include "render/win/render_bridge.h"
#include "render/win/render_options_window.h"
#include "shell/win/app_state.h"
#include "shell/win/commands.h"
#include "shell/win/ids.h"
#include "shell/win/message_boxes.h"
#include "base/win/message_handler.h"
#include "base/win/text.h"
#include "shell/win/tool_windows.h"
#include "shell/win/window_title.h"

namespace lumetra::win {

void newImageCommand(CanvasWindow& canvas) {
    ImageDocument& document = canvas.document();
    auto chosen = askForNewImage(appState().mainWindow, document.current.settings);
    if (!chosen) return;
    std::string message;
    auto pixels = createCanvasBitmap(chosen->width, chosen->height, message);
    if (!pixels) {
        showWarning(L"Could not create new image", L"Could not create bitmap");
        return;
    }
    // The previous picture stays in memory for Undo; no undo file is written for it.
    adoptPixels(document.undo, std::move(document.current.pixels));
    document.current.settings = std::move(*chosen);
    adoptPixels(document.current, std::move(*pixels));
    document.current.renderInfo.valid = 0;
    document.current.renderInfo.flags = 0;
    canvas.refreshView(7);
    prepareImageOscillators(document.current.settings);
    refreshRenderOptionsWindow();
    if (canvas.playDisplayOn()) SendMessageW(canvas.window(), kPlayPositionMessage, 1, -1);
    document.path.clear();
    document.displayName.clear();
    setStartTitle();
}

namespace {

class AboutDialog : public DialogHandler {
  public:
    INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_INITDIALOG) {
            SetDlgItemTextW(dialog, IDC_ABOUT_TEXT,
                            loadString(appState().instance, IDS_ABOUT_TEXT).c_str());
            centreOverMainWindow(dialog);
            setDialogItemBold(dialog, IDC_ABOUT_SUBTITLE);
            ShowWindow(GetDlgItem(dialog, IDC_ABOUT_SUBTITLE), SW_SHOW);
            return TRUE;
        }
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        if (message == WM_CLOSE) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }

  private:
    static void centreOverMainWindow(HWND dialog) {
        RECT main{}, mine{};
        GetWindowRect(appState().mainWindow, &main);
        GetWindowRect(dialog, &mine);
        int x = (main.left + main.right - (mine.right - mine.left)) / 2;
        int y = (main.top + main.bottom - (mine.bottom - mine.top)) / 2;
        SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
};

}  // namespace

void aboutCommand() {
    AboutDialog dialog;
    enableToolWindows(false);
    DialogBoxParamW(appState().instance, MAKEINTRESOURCEW(IDD_ABOUT), appState().mainWindow,
                    dialogTrampoline,
                    reinterpret_cast<LPARAM>(static_cast<DialogHandler*>(&dialog)));
    enableToolWindows(true);
}

}  // namespace lumetra::win
