#pragma once
// The render engine's view of the Win32 program: the status bar, the message queue, the Esc key,
// the message boxes and the save-sound dialog.

#include "render/render_host.h"

namespace lumetra::win {

class WinRenderHost final : public RenderHost {
  public:
    void setStatusText(int part, const std::string& text) override;
    void updateStatusBar() override;
    void pumpOneMessage() override;
    bool isEscapeHeld() override;
    std::uint32_t tickCount() override;
    LocalTime localTime() override;
    void showWarning(const std::string& text, const std::string& caption) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    std::optional<std::filesystem::path> askSaveSoundPath(
        const std::string& suggestedName) override;
    SystemError lastSystemError() override;
};

// The program's one host.
WinRenderHost& renderHost();

}  // namespace lumetra::win
