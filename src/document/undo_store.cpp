#include "document/undo_store.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include <boost/system/error_code.hpp>

#include "base/file_io.h"
#include "document/image_file.h"
#include "document/image_save.h"
#include "document/render_info_trailer.h"
#include "image/bmp_reader.h"

namespace lumetra {
namespace {

// The system's code for "not enough memory", for the question text.
#ifdef _WIN32
constexpr int kOutOfMemoryCode = 8;  // ERROR_NOT_ENOUGH_MEMORY
#else
constexpr int kOutOfMemoryCode = ENOMEM;
#endif

std::string notUndoableQuestion(int code) {
    std::string text = boost::system::system_category().message(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return "This operation is not undoable (Error " + std::to_string(code) + ":" + text +
           ")\nIf you proceed you may get erratic results\nContinue anyway?";
}

// A copy of the picture record, or nullopt when memory for it cannot be had.
std::optional<CanvasImage> copyOf(const CanvasImage& image) {
    std::string message;
    auto pixels = createCanvasBitmap(image.pixels.width, image.pixels.height, message);
    if (!pixels || pixels->bytes.size() != image.pixels.bytes.size()) return std::nullopt;
    try {
        CanvasImage copy;
        std::copy(image.pixels.bytes.begin(), image.pixels.bytes.end(), pixels->bytes.begin());
        copy.pixels = std::move(*pixels);
        copy.settings = image.settings;
        copy.renderInfo = image.renderInfo;
        return copy;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace

UndoStore::UndoStore(FileSystem& files, Clock& clock, UserInterface& ui,
                     std::filesystem::path undoFolder, std::int32_t undoLimit)
    : files_(files),
      clock_(clock),
      ui_(ui),
      folder_(std::move(undoFolder)),
      limit_(std::max<std::int32_t>(1, undoLimit)),
      slotSettings_(static_cast<std::size_t>(limit_)) {}

std::filesystem::path UndoStore::slotPath(std::int32_t slot) const {
    return folder_ / ("Undo" + std::to_string(slot) + ".bmp");
}

void UndoStore::start() {
    index_ = 1;
    lastStep_ = 0;
    lastOperation_ = 0;
    lastTime_ = 0;
}

std::int32_t UndoStore::next(std::int32_t slot) const {
    return slot >= limit_ ? 1 : slot + 1;
}

std::int32_t UndoStore::previous(std::int32_t slot) const {
    return slot <= 1 ? limit_ : slot - 1;
}

std::int32_t UndoStore::currentSlot() const {
    const std::int32_t slot = index_;
    return slot >= 1 && slot <= limit_ ? slot : 1;
}

bool UndoStore::storeUndoSnapshot(ImageDocument& document, bool askOnFailure,
                                  std::int32_t operationId) {
    const std::uint32_t now = clock_.tickCount();
    if (operationId != 0 && operationId == lastOperation_) {
        const bool repeat = now - lastTime_ < kMergeMilliseconds;
        lastTime_ = now;
        if (repeat) return true;
    }
    lastOperation_ = operationId;
    if (!takeSnapshot(document)) {
        if (!askOnFailure) {
            ui_.setStatusText(0, "Warning: This operation is not undoable!");
            return false;
        }
        return ui_.askOkCancel(notUndoableQuestion(kOutOfMemoryCode), "An error occured");
    }
    const std::int32_t slot = currentSlot();
    writeSlot(document.undo, slot);
    index_ = next(slot);
    lastStep_ = 0;
    return true;
}

// The whole record is kept, not only the pixels: an Undo brings back the picture together with
// the render settings it had.
bool UndoStore::takeSnapshot(ImageDocument& document) {
    auto copy = copyOf(document.current);
    if (!copy) return false;
    document.undo = std::move(*copy);
    return true;
}

void UndoStore::touchUndoSnapshot(std::int32_t operationId) {
    lastOperation_ = operationId;
    lastTime_ = clock_.tickCount();
}

// The slot file is written under a temporary name and moved into place only when complete. When
// that fails the slot's older file is removed too: a later Undo must find nothing there rather
// than a picture from an earlier round of the ring.
void UndoStore::writeSlot(const CanvasImage& image, std::int32_t slot) {
    if (folder_.empty()) return;
    const std::filesystem::path target = slotPath(slot);
    std::filesystem::path temporary = target;
    temporary.replace_extension(".tmp");
    std::optional<SlotSettings>& settings = slotSettings_[static_cast<std::size_t>(slot - 1)];
    if (writeBmpFile(files_, image, temporary, target, /*attachRenderInfo=*/true)) {
        const RenderSettings& s = image.settings;
        settings = SlotSettings{s.lowFrequency, s.highFrequency, s.ampFactor, s.outputTime};
        return;
    }
    settings.reset();
    files_.remove(target);
}

// A missing, damaged or empty slot file fails and leaves the undo image whole.
bool UndoStore::loadSlot(CanvasImage& image, std::int32_t slot) {
    if (folder_.empty()) return false;
    std::vector<std::uint8_t> file;
    std::string message;
    if (!readWholeFile(files_, slotPath(slot), file, message, std::uintmax_t(kMaxPixelBytes) * 2))
        return false;
    BmpReadResult bmp = decodeBmp(file);
    if (!bmp.pixels || bmp.pixels->empty()) return false;
    const RenderInfoTrailer trailer = findRenderInfoTrailer(file, bmp.pixelDataEnd);
    const bool recorded =
        trailer.kind == TrailerKind::Found && hasUsableRenderNumbers(trailer.record);
    adoptPixels(image, std::move(*bmp.pixels));
    image.renderInfo = recorded ? trailer.record : RenderInfoRecord{};
    if (recorded) {
        adoptRenderInfoSettings(image);
        return true;
    }
    const RenderSettings fresh;
    const SlotSettings kept = slotSettings_[static_cast<std::size_t>(slot - 1)].value_or(
        SlotSettings{fresh.lowFrequency, fresh.highFrequency, fresh.ampFactor, fresh.outputTime});
    image.settings.lowFrequency = kept.lowFrequency;
    image.settings.highFrequency = kept.highFrequency;
    image.settings.ampFactor = kept.ampFactor;
    image.settings.outputTime = kept.outputTime;
    return true;
}

bool UndoStore::stepUndo(ImageDocument& document, int direction) {
    const std::int32_t before = currentSlot();
    std::int32_t slot = before;
    bool load = false;
    if (direction < 0) {
        if (lastStep_ == 0) {
            // The snapshot is in memory already; both sides of the step go to their files so
            // that later steps through the ring find them.
            slot = previous(slot);
            writeSlot(document.undo, slot);
            writeSlot(document.current, next(slot));
        } else {
            slot = previous(slot);
            load = lastStep_ < 0;
        }
    } else {
        if (lastStep_ == 0) return false;  // nothing undone, nothing to redo
        slot = next(slot);
        load = lastStep_ > 0;
    }
    if (load && !loadSlot(document.undo, slot)) {
        index_ = before;
        return false;
    }
    index_ = slot;
    lastStep_ = direction < 0 ? -1 : 1;
    // A change after an Undo or a Redo is a step of its own: merged into the operation before,
    // it would store no snapshot, and the next Undo would skip it and lose it.
    lastOperation_ = 0;
    return true;
}

UndoCommandResult UndoStore::runUndoCommand(ImageDocument& document, int command) {
    if (document.undo.pixels.empty()) return {};
    if (command != kUndoCommand && command != kRedoCommand) return {};
    const Rect selection = document.current.selection;
    if (!stepUndo(document, command == kUndoCommand ? -1 : 1)) return {};
    std::swap(document.current, document.undo);
    const bool sizeChanged = document.current.pixels.width != document.undo.pixels.width ||
                             document.current.pixels.height != document.undo.pixels.height;
    // A kept selection must lie inside the picture; the full refresh clears it anyway.
    document.current.selection = sizeChanged ? Rect{} : selection;
    return {true, sizeChanged};
}

}  // namespace lumetra
