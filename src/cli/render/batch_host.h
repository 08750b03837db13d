#pragma once
// The outside world of a run without windows: status texts go to standard output, warnings to
// standard error, and the questions get the answers that leave no partial file behind. There is
// no message to pump and no Esc key; the one soundfile the render may ask for is the output.

#include <filesystem>
#include <iosfwd>
#include <string>

#include "base/user_interface.h"
#include "render/render_host.h"

namespace lumetra {

class BatchUserInterface final : public UserInterface {
  public:
    BatchUserInterface(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    void setStatusText(int part, const std::string& text) override;
    void showWarning(const std::string& text, const std::string& caption) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    bool askOkCancel(const std::string& text, const std::string& caption) override;

    // The last text of status part 0 (the render's outcome when it was refused).
    const std::string& lastMessage() const { return lastMessage_; }

  private:
    std::ostream& out_;
    std::ostream& err_;
    std::string lastMessage_;
};

class BatchHost final : public RenderHost {
  public:
    explicit BatchHost(std::filesystem::path output) : output_(std::move(output)) {}

    void updateStatusBar() override {}
    void pumpOneMessage() override {}
    bool isEscapeHeld() override { return false; }
    std::optional<std::filesystem::path> askSaveSoundPath(const std::string&) override {
        return output_;
    }

  private:
    std::filesystem::path output_;
};

}  // namespace lumetra
