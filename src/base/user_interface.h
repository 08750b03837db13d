#pragma once
// The user interface as the core sees it: the status bar's three parts and the program's message
// boxes. The Win32 program implements it with its status bar and boxes (which keep the tool
// windows disabled while they are up); the batch tools print; the tests record.

#include <string>

namespace lumetra {

inline constexpr const char* kWarningCaption = "Lumetra Warning!";
inline constexpr const char* kQuizCaption = "Lumetra Quiz";

class UserInterface {
  public:
    virtual ~UserInterface() = default;

    // Part 0 messages, part 1 progress and selection, part 2 the pointer readout. UTF-8 text.
    virtual void setStatusText(int part, const std::string& text) = 0;
    // A warning box with an OK button.
    virtual void showWarning(const std::string& text, const std::string& caption) = 0;
    // A question box with Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;
    // A warning box with OK and Cancel; true for OK.
    virtual bool askOkCancel(const std::string& text, const std::string& caption) = 0;
};

}  // namespace lumetra
