#include "recording_host.h"

namespace lumetra::testing {

void RecordingHost::pumpOneMessage() {
    ++pumps;
    if (onPump) onPump();
}

bool RecordingHost::isEscapeHeld() {
    ++escapeQueries;
    return escapeAtQuery > 0 && escapeQueries >= escapeAtQuery;
}

std::optional<std::filesystem::path> RecordingHost::askSaveSoundPath(
    const std::string& suggestedName) {
    suggestedNames.push_back(suggestedName);
    return saveSoundAnswer;
}

}  // namespace lumetra::testing
