#pragma once
// A RenderHost for tests and benchmarks: it records every status text and box, answers questions
// from a script, and presses Esc or fails after a chosen number of columns.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "render/render_host.h"

namespace lumetra::testing {

class RecordingHost : public RenderHost {
  public:
    struct Box {
        std::string text;
        std::string caption;
        bool question = false;
    };

    void setStatusText(int part, const std::string& text) override;
    void updateStatusBar() override { ++statusUpdates; }
    void pumpOneMessage() override;
    bool isEscapeHeld() override;
    std::uint32_t tickCount() override;
    LocalTime localTime() override { return now; }
    void showWarning(const std::string& text, const std::string& caption) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    std::optional<std::filesystem::path> askSaveSoundPath(
        const std::string& suggestedName) override;
    SystemError lastSystemError() override { return systemError; }

    // The latest text of each status bar part, and every text in order.
    std::string status[3];
    std::vector<std::pair<int, std::string>> statusLog;
    std::vector<Box> boxes;
    std::vector<std::string> suggestedNames;
    int statusUpdates = 0;
    int pumps = 0;

    // Scripted answers. Yes/no questions take the front of `answers` (default: no).
    std::deque<bool> answers;
    std::optional<std::filesystem::path> saveSoundAnswer;
    SystemError systemError{28, "No space left on device"};
    LocalTime now{2024, 5, 3, 17, 12, 30, 45, 500};
    // Esc is reported held from this Esc query on (0 = never).
    int escapeAtQuery = 0;
    int escapeQueries = 0;
    // Tick counts: start, then each query advances by tickStep.
    std::uint32_t tick = 1000;
    std::uint32_t tickStep = 0;
    // Runs on every pump (to test re-entrant commands).
    std::function<void()> onPump;
};

}  // namespace lumetra::testing
