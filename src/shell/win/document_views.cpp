#include "shell/win/document_views.h"

#include "base/win/utf16.h"
#include "document/save_names.h"
#include "document/win/canvas_window.h"
#include "shell/win/program.h"
#include "shell/win/render_runtime.h"
#include "shell/win/window_title.h"

namespace lumetra::win {

void DocumentViews::documentChanged(const DocumentNews& news) {
    refreshCanvas(news);
    // A whole new picture or one of another size: its rows get their oscillators (the render
    // options window prepares them itself after its own edits).
    if (news.what & (kNewPicture | kChangedSize))
        prepareImageOscillators(program_, program_.document.current().settings);
    if ((news.what & (kChangedSettings | kChangedSize | kNewPicture | kPrepared)) &&
        program_.tools.renderOptions)
        program_.tools.renderOptions->refreshIfOpen();
    if (news.what & kChangedFile) showDocumentTitle(program_);
    if (news.what & kSaved)
        program_.ui.setStatus(0, toUtf16(savedStatus(program_.document.displayName())));
}

void DocumentViews::refreshCanvas(const DocumentNews& news) {
    CanvasWindow* canvas = program_.canvas.get();
    if (!canvas || !canvas->window()) return;
    if (news.what & kChangedSize) {
        canvas->refreshView(ViewRefresh::Layout);
    } else if (news.what & (kChangedPixels | kChangedSelection)) {
        if (news.area.empty())
            InvalidateRect(canvas->window(), nullptr, FALSE);
        else
            canvas->invalidatePicture(news.area);
    }
    // A new picture has no sound of its own yet.
    if (news.what & kNewPicture) canvas->removePlayPosition();
}

void showDocumentTitle(const Program& program) {
    if (!program.mainWindow) return;
    const std::wstring title =
        documentTitle(toUtf16(program.document.displayName()), program.document.modified());
    SetWindowTextW(program.mainWindow, title.c_str());
}

}  // namespace lumetra::win
