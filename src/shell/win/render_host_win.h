#pragma once
// The render's hold on the Win32 program's user-interface thread: the status bar repainted at
// once, the message queue, the Esc key and the save-sound dialog.

#include "render/render_host.h"

namespace lumetra::win {

struct Program;

class WinRenderHost final : public RenderHost {
  public:
    explicit WinRenderHost(Program& program) : program_(program) {}

    void updateStatusBar() override;
    // Takes at most one pending message; mouse input is thrown away so that the picture cannot
    // be edited while it sounds.
    void pumpOneMessage() override;
    bool isEscapeHeld() override;
    std::optional<std::filesystem::path> askSaveSoundPath(
        const std::string& suggestedName) override;

  private:
    Program& program_;
};

}  // namespace lumetra::win
