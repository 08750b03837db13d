#include "document/document.h"

namespace lumetra {

bool sameEditedSettings(const RenderSettings& a, const RenderSettings& b) {
    return a.lowFrequency == b.lowFrequency && a.highFrequency == b.highFrequency &&
           a.ampFactor == b.ampFactor && a.outputTime == b.outputTime &&
           a.softSweeps == b.softSweeps && a.noiseBandwidth == b.noiseBandwidth;
}

bool Document::storeUndoSnapshot(bool askOnFailure, std::int32_t operationId) {
    return !undo_ || undo_->storeUndoSnapshot(state_, askOnFailure, operationId);
}

void Document::touchUndoSnapshot(std::int32_t operationId) {
    if (undo_) undo_->touchUndoSnapshot(operationId);
}

void Document::storeExitSnapshot() {
    if (undo_) undo_->storeExitSnapshot(state_);
}

bool Document::undoCommand(int command) {
    if (!undo_) return false;
    const UndoCommandResult result = undo_->runUndoCommand(state_, command);
    if (!result.exchanged) return false;
    // The selection stays with a picture of the same size, so only the size says it changed.
    changed(kChangedPixels | kChangedSettings | kNewPicture |
            (result.sizeChanged ? kChangedSize | kChangedSelection : 0u));
    return true;
}

void Document::changed(unsigned what, Rect area) {
    const bool wasModified = modified_;
    if (marksModified(what)) modified_ = true;
    if (modified_ != wasModified) what |= kChangedFile;
    notify(what, area);
}

void Document::editSettings(const RenderSettings& settings) {
    const bool edited = !sameEditedSettings(state_.current.settings, settings);
    state_.current.settings = settings;
    changed(edited ? kChangedSettings : kPrepared);
}

void Document::opened(const std::filesystem::path& path, const std::string& displayName) {
    state_.path = path;
    state_.displayName = displayName;
    modified_ = false;
    notify(kReplacedPicture | kChangedFile);
}

void Document::reverted() {
    modified_ = false;
    notify(kReplacedPicture | kChangedFile);
}

void Document::madeNew() {
    state_.path.clear();
    state_.displayName.clear();
    modified_ = false;
    notify(kReplacedPicture | kChangedFile);
}

void Document::made(const std::string& displayName) {
    state_.path.clear();
    state_.displayName = displayName;
    modified_ = false;
    notify(kReplacedPicture | kChangedFile);
}

void Document::saved(const std::filesystem::path& path, const std::string& displayName) {
    state_.path = path;
    state_.displayName = displayName;
    modified_ = false;
    notify(kChangedFile | kSaved);
}

void Document::notify(unsigned what, Rect area) {
    if (observer_) observer_->documentChanged(DocumentNews{what, area});
}

}  // namespace lumetra
