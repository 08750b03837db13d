// The View menu: the canvas's zoom and its rulers, both kept with the window layout; and the
// first start's hint of how to begin.

#include <windows.h>

#include "resources/resource_ids.h"
#include "shell/win/commands.h"
#include "shell/win/program.h"
#include "shell/win/render_runtime.h"
#include "shell/win/view_host.h"

namespace lumetra::win {
namespace {

constexpr wchar_t kStartHint[] =
    L"Open a picture from Images\\ (Ctrl+O) or paint, then F5 to hear it";

}  // namespace

void zoomCommand(Program& program, int id) {
    CanvasWindow* canvas = program.canvas.get();
    if (!canvas) return;
    switch (id) {
        case IDM_ZOOM_IN:
            canvas->zoomBy(1);
            break;
        case IDM_ZOOM_OUT:
            canvas->zoomBy(-1);
            break;
        case IDM_ACTUAL_SIZE:
            canvas->zoomBy(-canvas->zoomStep());
            break;
        case IDM_FIT_PICTURE:
            canvas->fitPicture();
            break;
        default:
            return;
    }
    program.settings.layout.canvasZoom = canvas->zoomStep();
}

void rulersCommand(Program& program, int) {
    if (!program.canvas) return;
    program.canvas->showRulers(!program.canvas->rulersShown());
    program.settings.layout.canvasRulers = program.canvas->rulersShown() ? 1 : 0;
}

std::wstring startHint(const Program& program) {
    // The start picture is its own undo copy until the first change.
    const ImageDocument& document = program.document.state();
    const bool untouched = document.path.empty() &&
                           document.undo.pixels.bytes == document.current.pixels.bytes &&
                           program.render.latestSound.length() == 0;
    return untouched ? kStartHint : L"";
}

void ProgramViewHost::canvasPainted() {
    // The start hint goes once the picture is opened, changed or heard.
    const std::wstring shown = program_.ui.status(0);
    if (!shown.empty() && shown == kStartHint && startHint(program_).empty())
        program_.ui.setStatus(0, L"");
}

void applyCanvasView(Program& program) {
    if (!program.canvas) return;
    program.canvas->showRulers(program.settings.layout.canvasRulers != 0);
    program.canvas->zoomTo(program.settings.layout.canvasZoom, POINT{0, 0});
}

}  // namespace lumetra::win
