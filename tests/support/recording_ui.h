#pragma once
// A UserInterface for tests and benchmarks: it records every status text and box and answers the
// questions from a script.

#include <deque>
#include <iosfwd>
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
    };

    void setStatusText(int part, const std::string& text) override;
    void showWarning(const std::string& text, const std::string& caption) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    bool askOkCancel(const std::string& text, const std::string& caption) override;

    // Every text given to one part, in order; the latest, or "<none>" when there was none.
    std::vector<std::string> statusTexts(int part) const;
    std::string lastStatus(int part = 0) const;

    // The latest text of each status bar part, and every text in order.
    std::string status[3];
    std::vector<std::pair<int, std::string>> statusLog;
    std::vector<Box> boxes;
    // The questions take the front of `answers`, then `answer`.
    std::deque<bool> answers;
    bool answer = false;
};

std::ostream& operator<<(std::ostream& out, const RecordingUi::Box& box);

}  // namespace lumetra::testing
