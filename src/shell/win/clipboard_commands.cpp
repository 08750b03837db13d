#include "shell/win/clipboard_commands.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/win/utf16.h"
#include "document/win/canvas_window.h"
#include "image/bmp_reader.h"
#include "image/bmp_writer.h"
#include "image/win/clipboard_picture.h"
#include "imageops/clipboard_picture.h"
#include "imageops/composite.h"
#include "imageops/delete_region.h"
#include "resources/resource_ids.h"
#include "shell/win/edit_commands.h"
#include "shell/win/image_commands.h"
#include "shell/win/program.h"

namespace lumetra::win {
namespace {

enum class CopySource { Browser, Canvas };

bool browserActive(const Program& program) {
    return program.tools.browser && activeToolWindow(program.tools) == program.tools.browser.get();
}

// The browser's selected file as a 24-bit block; nothing when our reader cannot read it.
std::vector<std::uint8_t> browserFileBlock(Program& program, const std::filesystem::path& file) {
    std::vector<std::uint8_t> bytes;
    std::string message;
    if (!readWholeFile(program.files, file, bytes, message, std::uintmax_t(kMaxPixelBytes) * 2))
        return {};
    const BmpReadResult read = decodeBmp(bytes);
    if (!read.pixels) return {};
    return encodeDib(*read.pixels, Rect{0, 0, read.pixels->width, read.pixels->height});
}

// Copy: where the picture came from, and whether it is on the clipboard now.
struct Copied {
    CopySource source = CopySource::Canvas;
    bool placed = false;
};

Copied copyToClipboard(Program& program) {
    HWND owner = program.canvas->window();
    if (browserActive(program)) {
        if (const BrowserPick pick = browserPick(program); pick.file) {
            const std::vector<std::uint8_t> block = browserFileBlock(program, *pick.file);
            return {CopySource::Browser, putPictureOnClipboard(owner, block)};
        }
    }
    return {CopySource::Canvas,
            putPictureOnClipboard(owner, operationRegionBlock(program.document.current()))};
}

}  // namespace

void copyCommand(Program& program, int id) {
    if (id != IDM_CUT) {
        copyToClipboard(program);
        return;
    }
    if (!storeUndoSnapshot(program, false, 0)) return;
    const Copied copied = copyToClipboard(program);
    // A region that did not reach the clipboard stays: blacking it out would lose it.
    if (copied.source == CopySource::Browser || !copied.placed) return;
    deleteRegion(program.document.current());
    program.document.changed(kChangedPixels);
}

// The clipboard's picture is read before the snapshot: Paste As Filter reports a picture the
// decoder refuses as the filter's failure and changes nothing, the undo ring included.
void pasteCommand(Program& program, int id) {
    const ClipboardPicture read = pictureFromClipboard(program.canvas->window());
    if (id == IDM_PASTE_AS_FILTER && !read.refusal.empty()) {
        program.ui.warn(toUtf16(read.refusal), toUtf16(kCompositeCaption));
        return;
    }
    if (!storeUndoSnapshot(program, false, 0)) return;
    const std::optional<PixelImage>& picture = read.pixels;
    if (!picture) return;
    CanvasImage& image = program.document.current();
    if (id == IDM_PASTE_AS_FILTER) {
        const CompositeResult result = compositeImage(
            image, *picture, compositeOptionsForCommand(kPasteAsFilterCommand, BrowserChoices{}));
        if (!result.ok) {
            program.ui.warn(toUtf16(result.message), toUtf16(kCompositeCaption));
            return;
        }
    } else if (!pastePicture(image, *picture,
                             id == IDM_PASTE ? PasteKind::Replace : PasteKind::Overlay)) {
        return;
    }
    program.document.changed(kChangedPixels);
}

}  // namespace lumetra::win
