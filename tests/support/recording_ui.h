#pragma once
// A UserInterface for tests and benchmarks: it records every status text and box and answers the
// questions from a script.

#include <deque>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "base/user_interface.h"

namespace lumetra::testing {

class RecordingUi final : public UserInterface {
  public:
    enum class BoxKind { Warning, YesNo, OkCancel };
    struct Box {
        std::string text;
        std::string caption;
        BoxKind kind = BoxKind::Warning;
        friend bool operator==(const Box&, const Box&) = default;
        friend std::ostream& operator<<(std::ostream& out, const Box& box) {
            const char* kinds[] = {"warning", "yes/no", "ok/cancel"};
            return out << kinds[static_cast<int>(box.kind)] << " \"" << box.caption << "\": \""
                       << box.text << '"';
        }
    };

    void setStatusText(int part, const std::string& text) override {
        if (part >= 0 && part < 3) status[part] = text;
        statusLog.emplace_back(part, text);
    }
    void showWarning(const std::string& text, const std::string& caption) override {
        boxes.push_back({text, caption, BoxKind::Warning});
    }
    bool askYesNo(const std::string& text, const std::string& caption) override {
        return ask({text, caption, BoxKind::YesNo});
    }
    bool askOkCancel(const std::string& text, const std::string& caption) override {
        return ask({text, caption, BoxKind::OkCancel});
    }

    // Every text given to one part, in order; the latest, or "<none>" when there was none.
    std::vector<std::string> statusTexts(int part) const {
        std::vector<std::string> texts;
        for (const auto& [p, text] : statusLog)
            if (p == part) texts.push_back(text);
        return texts;
    }
    std::string lastStatus(int part = 0) const {
        const std::vector<std::string> texts = statusTexts(part);
        return texts.empty() ? "<none>" : texts.back();
    }

    // The latest text of each status bar part, and every text in order.
    std::string status[3];
    std::vector<std::pair<int, std::string>> statusLog;
    std::vector<Box> boxes;
    // The questions take the front of `answers`, then `answer`.
    std::deque<bool> answers;
    bool answer = false;

  private:
    bool ask(Box box) {
        boxes.push_back(std::move(box));
        if (answers.empty()) return answer;
        const bool given = answers.front();
        answers.pop_front();
        return given;
    }
};

}  // namespace lumetra::testing
