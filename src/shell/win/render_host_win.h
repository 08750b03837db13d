#pragma once
// The render engine's view of the Win32 program: the status bar, the message queue, the Esc key,
// the message boxes and the save-sound dialog.

#include "render/render_host.h"

namespace lumetra::win {

struct Program;

class WinRenderHost final : public RenderHost {
  public:
    explicit WinRenderHost(Program& program) : program_(program) {}

    void setStatusText(int part, const std::string& text) override;
    void updateStatusBar() override;
    // Takes at most one pending message; mouse input is thrown away so that the picture cannot
    // be edited while it sounds.
    void pumpOneMessage() override;
    bool isEscapeHeld() override;
    std::uint32_t tickCount() override;
    LocalTime localTime() override;
    void showWarning(const std::string& text, const std::string& caption) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    std::optional<std::filesystem::path> askSaveSoundPath(
        const std::string& suggestedName) override;
    SystemError lastSystemError() override;

  private:
    Program& program_;
};

}  // namespace lumetra::win
