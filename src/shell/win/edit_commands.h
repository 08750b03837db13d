#pragma once
// The program's undo ring and the commands that change the picture as a whole: New Image, Undo,
// Redo and Delete.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "document/undo_bmp_files.h"
#include "document/undo_store.h"
#include "shell/win/program_ui.h"

namespace lumetra::win {

struct Program;

class SystemTicks final : public TickClock {
  public:
    std::uint32_t tickCount() override { return GetTickCount(); }
};

// Snapshots without a folder to keep them in: the in-memory snapshot is all there is.
class NoUndoFiles final : public UndoFiles {
  public:
    bool save(const CanvasImage&, const std::filesystem::path&) override { return false; }
    bool load(CanvasImage&, const std::filesystem::path&) override { return false; }
    bool replace(const std::filesystem::path&, const std::filesystem::path&) override {
        return false;
    }
    void remove(const std::filesystem::path&) override {}
};

class UndoPromptsOfProgram final : public UndoPrompts {
  public:
    explicit UndoPromptsOfProgram(ProgramUi& ui) : ui_(ui) {}
    void showStatus(const std::string& text) override { ui_.setStatusText(0, text); }
    bool askOkCancel(const std::string& text, const std::string& caption) override {
        return ui_.askOkCancel(text, caption);
    }

  private:
    ProgramUi& ui_;
};

// The undo store of the program with what it reads and tells through.
struct UndoRing {
    UndoRing(ProgramUi& ui, const std::filesystem::path& folder, std::int32_t limit);
    SystemTicks ticks;
    UndoBmpFiles bmpFiles;
    NoUndoFiles noFiles;
    UndoPromptsOfProgram prompts;
    UndoStore store;
};

// Makes the program's undo ring over the settled undo folder and the undo limit. Without a
// folder, snapshots stay in memory and no file is written.
void startUndoRing(Program& program);

// Before a change of pixels: true when the change may go ahead (with a snapshot, or merged into
// the previous one).
bool storeUndoSnapshot(Program& program, bool askOnFailure, int operation);

// New Image (101), Undo (201) and Redo (202), Delete (207).
void newImageCommand(Program& program, int command);
void undoCommand(Program& program, int command);
void deleteCommand(Program& program, int command);

// Brings the views up to a picture that replaced the current one: the canvas laid out anew
// (`sizeMayChange`) or repainted, the oscillators for its settings, the Render Options fields
// and no play position of an earlier sound.
void pictureReplaced(Program& program, bool sizeMayChange);

}  // namespace lumetra::win
