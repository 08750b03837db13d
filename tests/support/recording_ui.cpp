#include "recording_ui.h"

#include <ostream>

namespace lumetra::testing {

void RecordingUi::setStatusText(int part, const std::string& text) {
    if (part >= 0 && part < 3) status[part] = text;
    statusLog.emplace_back(part, text);
}

void RecordingUi::showWarning(const std::string& text, const std::string& caption) {
    boxes.push_back({text, caption, BoxKind::Warning});
}

bool RecordingUi::askYesNo(const std::string& text, const std::string& caption) {
    boxes.push_back({text, caption, BoxKind::YesNo});
    if (answers.empty()) return answer;
    const bool given = answers.front();
    answers.pop_front();
    return given;
}

bool RecordingUi::askOkCancel(const std::string& text, const std::string& caption) {
    boxes.push_back({text, caption, BoxKind::OkCancel});
    if (answers.empty()) return answer;
    const bool given = answers.front();
    answers.pop_front();
    return given;
}

std::vector<std::string> RecordingUi::statusTexts(int part) const {
    std::vector<std::string> texts;
    for (const auto& [p, text] : statusLog)
        if (p == part) texts.push_back(text);
    return texts;
}

std::string RecordingUi::lastStatus(int part) const {
    const std::vector<std::string> texts = statusTexts(part);
    return texts.empty() ? "<none>" : texts.back();
}

std::ostream& operator<<(std::ostream& out, const RecordingUi::Box& box) {
    const char* kinds[] = {"warning", "yes/no", "ok/cancel"};
    return out << kinds[static_cast<int>(box.kind)] << " \"" << box.caption << "\": \"" << box.text
               << '"';
}

}  // namespace lumetra::testing
