#pragma once
// Undo and redo: before every change of pixels a snapshot of the picture goes to a ring of
// numbered BMP files ("Undo1.bmp" .. "Undo<limit>.bmp") in the undo folder, and the newest one
// stays in memory as the document's undo image. Undo and Redo walk the ring and exchange the
// current and the undo image. The slot files are the program's own 24-bit BMP files with the
// picture's render record appended, so that a step that reads a slot brings the record back.
//
// A picture read from a slot brings its render settings (pitch range, amp factor, time) too: those
// of its record when the slot file carries a usable one, as for an opened picture; else those it
// had when this run wrote the slot; else (a file left by an earlier run) those of a new picture.
// Never the settings of the picture it replaces.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/file_system.h"
#include "base/user_interface.h"
#include "document/canvas_image.h"

namespace lumetra {

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
    // A limit below 1 is taken as 1: the ring always has a slot. Without a folder no slot file
    // is written or read: the snapshot in memory is all there is.
    UndoStore(FileSystem& files, Clock& clock, UserInterface& ui, std::filesystem::path undoFolder,
              std::int32_t undoLimit);

    std::int32_t limit() const { return limit_; }
    std::filesystem::path slotPath(std::int32_t slot) const;

    // Starts the ring for a new canvas: the next snapshot goes to slot 1, nothing to merge with.
    void start();

    // The ring's state: the slot the next snapshot goes to, the direction of the last step (-1
    // Undo, +1 Redo, 0 a snapshot since), and the operation and time a repeat merges with.
    std::int32_t slot() const { return index_; }
    std::int32_t lastStep() const { return lastStep_; }
    std::int32_t lastOperation() const { return lastOperation_; }

    // Called before a change of pixels. True: go ahead (with a snapshot, or merged into the
    // previous one); false: do not perform the operation.
    bool storeUndoSnapshot(ImageDocument& document, bool askOnFailure, std::int32_t operationId);
    // The snapshot taken when the canvas is destroyed: the slot file then holds the picture as it
    // was at exit.
    void storeExitSnapshot(ImageDocument& document) { storeUndoSnapshot(document, false, 0); }
    // Records the operation and the time without storing anything, so that a repeat within a
    // second merges (the end of a brush stroke, a boiler run).
    void touchUndoSnapshot(std::int32_t operationId);
    // Moves the ring one step back (-1) or forward (+1) and brings the picture for that step, with
    // its render record and settings, into the undo image. True when the caller may exchange the
    // current and the undo image.
    bool stepUndo(ImageDocument& document, int direction);

    // The Undo (201) and Redo (202) commands: step and exchange the images, keeping the
    // selection when the size stays.
    UndoCommandResult runUndoCommand(ImageDocument& document, int command);

    // "&Undo" is grayed while the document holds no undo image; Redo is always offered.
    static bool undoEnabled(const ImageDocument& document) { return !document.undo.pixels.empty(); }

  private:
    struct SlotSettings {
        double lowFrequency, highFrequency, ampFactor, outputTime;
    };

    std::int32_t next(std::int32_t slot) const;
    std::int32_t previous(std::int32_t slot) const;
    std::int32_t currentSlot() const;
    bool takeSnapshot(ImageDocument& document);
    void writeSlot(const CanvasImage& image, std::int32_t slot);
    bool loadSlot(CanvasImage& image, std::int32_t slot);

    FileSystem& files_;
    Clock& clock_;
    UserInterface& ui_;
    std::filesystem::path folder_;
    std::int32_t limit_;
    // The settings of the picture this run wrote to each slot (index slot - 1).
    std::vector<std::optional<SlotSettings>> slotSettings_;
    std::int32_t index_ = 1;
    std::int32_t lastStep_ = 0;
    std::uint32_t lastTime_ = 0;
    std::int32_t lastOperation_ = 0;
};

}  // namespace lumetra
