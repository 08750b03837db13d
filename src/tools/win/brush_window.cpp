#include "tools/win/brush_window.h"

#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

int rightEdge(HWND dialog, int control) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, control), &r);
    return r.right;
}

}  // namespace

INT_PTR BrushWindow::handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // The boiler group stands right of the fade group; the window ends at the fade group.
        const int fold = rightEdge(dialog, IDC_BOILER_GROUP) - rightEdge(dialog, IDC_FADE_GROUP);
        RECT r{};
        GetWindowRect(dialog, &r);
        if (fold > 0 && fold < r.right - r.left) {
            SetWindowPos(dialog, nullptr, 0, 0, r.right - r.left - fold, r.bottom - r.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        // Only the spray shape has a density.
        ShowWindow(GetDlgItem(dialog, IDC_SPRAY_DENSITY), SW_HIDE);
    }
    return PlainToolWindow::handle(dialog, message, wParam, lParam);
}

}  // namespace lumetra::win
