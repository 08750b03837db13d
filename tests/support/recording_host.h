#pragma once
// A RenderHost for tests and benchmarks: it counts status bar repaints and pumped messages,
// presses Esc after a chosen number of columns, and answers the save-sound dialog from a script.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "render/render_host.h"

namespace lumetra::testing {

class RecordingHost final : public RenderHost {
  public:
    void updateStatusBar() override { ++statusUpdates; }
    void pumpOneMessage() override {
        ++pumps;
        if (onPump) onPump();
    }
    bool isEscapeHeld() override {
        ++escapeQueries;
        return escapeAtQuery > 0 && escapeQueries >= escapeAtQuery;
    }
    std::optional<std::filesystem::path> askSaveSoundPath(
        const std::string& suggestedName) override {
        suggestedNames.push_back(suggestedName);
        return saveSoundAnswer;
    }

    int statusUpdates = 0;
    int pumps = 0;
    std::vector<std::string> suggestedNames;
    std::optional<std::filesystem::path> saveSoundAnswer;  // nullopt: cancelled
    // Esc is reported held from this Esc query on (0 = never).
    int escapeAtQuery = 0;
    int escapeQueries = 0;
    // Runs on every pump (to test re-entrant commands).
    std::function<void()> onPump;
};

}  // namespace lumetra::testing
