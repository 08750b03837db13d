#include "recording_host.h"

namespace lumetra::testing {

void RecordingHost::setStatusText(int part, const std::string& text) {
    if (part >= 0 && part < 3) status[part] = text;
    statusLog.emplace_back(part, text);
}

void RecordingHost::pumpOneMessage() {
    ++pumps;
    if (onPump) onPump();
}

bool RecordingHost::isEscapeHeld() {
    ++escapeQueries;
    return escapeAtQuery > 0 && escapeQueries >= escapeAtQuery;
}

std::uint32_t RecordingHost::tickCount() {
    const std::uint32_t t = tick;
    tick += tickStep;
    return t;
}

void RecordingHost::showWarning(const std::string& text, const std::string& caption) {
    boxes.push_back({text, caption, false});
}

bool RecordingHost::askYesNo(const std::string& text, const std::string& caption) {
    boxes.push_back({text, caption, true});
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::filesystem::path> RecordingHost::askSaveSoundPath(
    const std::string& suggestedName) {
    suggestedNames.push_back(suggestedName);
    return saveSoundAnswer;
}

}  // namespace lumetra::testing
