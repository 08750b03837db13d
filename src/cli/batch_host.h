#pragma once
// The render engine's outside world for a run without windows: status texts go to standard
// output, warnings to standard error, and the questions get the answers that leave no partial
// file behind.

#include <filesystem>
#include <iosfwd>
#include <string>

#include "render/render_host.h"

namespace lumetra {

class BatchHost : public RenderHost {
  public:
    BatchHost(std::ostream& out, std::ostream& err, std::filesystem::path output);

    void setStatusText(int part, const std::string& text) override;
    void updateStatusBar() override {}
    void pumpOneMessage() override {}
    bool isEscapeHeld() override { return false; }
    std::uint32_t tickCount() override;
    LocalTime localTime() override;
    void showWarning(const std::string& text, const std::string& caption) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    std::optional<std::filesystem::path> askSaveSoundPath(
        const std::string& suggestedName) override;
    SystemError lastSystemError() override;

    // The last text of status part 0 (the render's outcome when it was refused).
    const std::string& lastMessage() const { return lastMessage_; }

  private:
    std::ostream& out_;
    std::ostream& err_;
    std::filesystem::path output_;
    std::string lastMessage_;
};

}  // namespace lumetra
