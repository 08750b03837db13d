#pragma once
// Undo and redo: before every change of pixels a snapshot of the picture goes to a ring of
// numbered BMP files ("Undo1.bmp" .. "Undo<limit>.bmp") in the undo folder, and the newest one
// stays in memory as the document's undo image. Undo and Redo walk the ring and exchange the
// current and the undo image.

#include <cstdint>
#include <filesystem>
#include <string>

#include "document/canvas_image.h"

namespace lumetra {

// Picture files of the ring. save and load are the program's BMP writer and reader.
class UndoFiles {
  public:
    virtual ~UndoFiles() = default;
    // Writes `image` as a 24-bit BMP file at `path`, creating or truncating it. The store only
    // ever passes a temporary name here and puts the file in its slot with replace() once it is
    // complete, so a failure may leave a partial file behind.
    virtual bool save(const CanvasImage& image, const std::filesystem::path& path) = 0;
    // Reads the BMP at `path` into `image`: its pixels, and its render record when the file
    // carries one. The store passes a scratch record and takes nothing from it on failure.
    virtual bool load(CanvasImage& image, const std::filesystem::path& path) = 0;
    // Moves `from` onto `to` in one step, replacing `to` (the file system's rename).
    virtual bool replace(const std::filesystem::path& from, const std::filesystem::path& to);
    // Removes the file if it exists; failures are ignored.
    virtual void remove(const std::filesystem::path& path);
};

class TickClock {
  public:
    virtual ~TickClock() = default;
    // Milliseconds of the system tick counter (it wraps after about 49 days).
    virtual std::uint32_t tickCount() = 0;
};

class UndoPrompts {
  public:
    virtual ~UndoPrompts() = default;
    // Status bar part 0.
    virtual void showStatus(const std::string& text) = 0;
    // A box with OK and Cancel; true for OK.
    virtual bool askOkCancel(const std::string& text, const std::string& caption) = 0;
};

// Operation ids of callers whose repeats merge into one snapshot.
inline constexpr std::int32_t kBrushStrokeOperation = 7101;
inline constexpr int kUndoCommand = 201;
inline constexpr int kRedoCommand = 202;
inline constexpr std::uint32_t kMergeMilliseconds = 1000;

struct UndoCommandResult {
    bool exchanged = false;    // current and undo image were swapped
    bool sizeChanged = false;  // the view needs its full refresh (flags 7), else refresh 0
};

class UndoStore {
  public:
    // A limit below 1 is taken as 1: the ring always has a slot.
    UndoStore(UndoFiles& files, TickClock& clock, UndoPrompts& prompts,
              std::filesystem::path undoFolder, std::int32_t undoLimit);

    std::int32_t limit() const { return limit_; }
    std::filesystem::path slotPath(std::int32_t slot) const;

    // Sets the document's ring state for a new canvas: the next snapshot goes to slot 1.
    void start(ImageDocument& document) const;

    // Called before a change of pixels. True: go ahead (with a snapshot, or merged into the
    // previous one); false: do not perform the operation.
    bool storeUndoSnapshot(ImageDocument& document, bool askOnFailure, std::int32_t operationId);
    // The snapshot taken when the canvas is destroyed: the slot file then holds the picture as it
    // was at exit.
    void storeExitSnapshot(ImageDocument& document) { storeUndoSnapshot(document, false, 0); }
    // Records the operation and the time without storing anything, so that a repeat within a
    // second merges (the end of a brush stroke, a boiler run).
    void touchUndoSnapshot(ImageDocument& document, std::int32_t operationId);
    // Moves the ring one step back (-1) or forward (+1) and brings the picture for that step into
    // the undo image. True when the caller may exchange the current and the undo image.
    bool stepUndo(ImageDocument& document, int direction);

    // The Undo (201) and Redo (202) commands: step and exchange the images, keeping the
    // selection when the size stays.
    UndoCommandResult runUndoCommand(ImageDocument& document, int command);

    // "&Undo" is grayed while the document holds no undo image; Redo is always offered.
    static bool undoEnabled(const ImageDocument& document) { return !document.undo.pixels.empty(); }

  private:
    std::int32_t next(std::int32_t slot) const;
    std::int32_t previous(std::int32_t slot) const;
    std::int32_t currentSlot(const ImageDocument& document) const;
    bool takeSnapshot(ImageDocument& document);
    void writeSlot(const CanvasImage& image, std::int32_t slot);
    bool loadSlot(CanvasImage& image, std::int32_t slot);

    UndoFiles& files_;
    TickClock& clock_;
    UndoPrompts& prompts_;
    std::filesystem::path folder_;
    std::int32_t limit_;
};

}  // namespace lumetra
