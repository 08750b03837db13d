#pragma once
// The document: the picture being edited with its render settings, render record and selection,
// the undo store, the file it came from and whether it changed since. Every change goes through
// it and raises one notification that says what changed, so that the views (canvas, Render
// Options, title, status bar) follow it in one place instead of each caller refreshing them.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "document/canvas_image.h"
#include "document/undo_store.h"

namespace lumetra {

// What a change touched; a notification carries any combination.
enum DocumentChange : unsigned {
    kChangedPixels = 1u << 0,
    kChangedSize = 1u << 1,
    kChangedSettings = 1u << 2,
    kChangedSelection = 1u << 3,
    kChangedFile = 1u << 4,  // path, display name or the changed mark
    kNewPicture = 1u << 5,   // a whole picture came in: opened, made, reverted, undone
    kSaved = 1u << 6,        // the file now holds the picture
    kPrepared = 1u << 7,     // the settings' derived values were rebuilt (a new sample rate)
};

// A picture of another size, and whatever came in whole, says all of this.
inline constexpr unsigned kReplacedPicture =
    kChangedPixels | kChangedSize | kChangedSettings | kChangedSelection | kNewPicture;

struct DocumentNews {
    unsigned what = 0;
    Rect area;  // the part of the picture whose pixels changed; empty: all of it
};

class DocumentObserver {
  public:
    virtual ~DocumentObserver() = default;
    virtual void documentChanged(const DocumentNews& news) = 0;
};

// Pixels, size and render settings make the picture differ from its file; the selection, the
// file's name, a save and a render (which only fills the record) do not.
constexpr bool marksModified(unsigned what) {
    return (what & (kChangedPixels | kChangedSize | kChangedSettings)) != 0 && (what & kSaved) == 0;
}

// True when the values a user edits (pitch range, amp factor, time, soft sweeps, noise
// bandwidth) are the same; the size and the derived values and tables do not count.
bool sameEditedSettings(const RenderSettings& a, const RenderSettings& b);

class Document {
  public:
    Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // One observer: the program's views. Notifications before it is set reach nobody.
    void setObserver(DocumentObserver* observer) { observer_ = observer; }

    // The state the canvas, the render and the operations work on in place. An edit made through
    // it is followed by `changed`.
    ImageDocument& state() { return state_; }
    const ImageDocument& state() const { return state_; }
    CanvasImage& current() { return state_.current; }
    const CanvasImage& current() const { return state_.current; }
    const std::filesystem::path& path() const { return state_.path; }
    const std::string& displayName() const { return state_.displayName; }
    bool modified() const { return modified_; }

    // The undo ring, once the undo folder is settled. Without one, changes take no snapshot.
    void setUndoStore(std::unique_ptr<UndoStore> store) { undo_ = std::move(store); }
    UndoStore* undoStore() { return undo_.get(); }
    // Before a change of pixels: true when the change may go ahead (with a snapshot, or merged
    // into the previous one within a second when the operation repeats).
    bool storeUndoSnapshot(bool askOnFailure, std::int32_t operationId);
    // The end of an operation whose repeat within a second merges (a stroke, a boiler run).
    void touchUndoSnapshot(std::int32_t operationId);
    // The snapshot taken at exit: the slot file then holds the picture as it was.
    void storeExitSnapshot();
    // Undo (201) and Redo (202); true when the pictures were exchanged.
    bool undoCommand(int command);

    // After an edit of the current picture in place: marks the document modified when pixels,
    // size or settings changed, and tells the observer.
    void changed(unsigned what, Rect area = {});
    // Takes edited render settings into the current picture. Only a value the user edits makes
    // the document modified; leaving a field unchanged just has the views refilled.
    void editSettings(const RenderSettings& settings);
    // The current picture came in whole from `path` (opened, a recent file, a working copy):
    // the document takes that file and name, and is unmodified.
    void opened(const std::filesystem::path& path, const std::string& displayName);
    // Read again from its own file: unmodified; path and name stay.
    void reverted();
    // A new picture without a file: no path, no name, unmodified.
    void madeNew();
    // A new picture made from something else (an analysed sound): no file yet, its own name,
    // unmodified.
    void made(const std::string& displayName);
    // The picture was written to `path`: it becomes the document's file, unmodified.
    void saved(const std::filesystem::path& path, const std::string& displayName);

  private:
    void notify(unsigned what, Rect area = {});

    ImageDocument state_;
    std::unique_ptr<UndoStore> undo_;
    DocumentObserver* observer_ = nullptr;
    bool modified_ = false;
};

}  // namespace lumetra
