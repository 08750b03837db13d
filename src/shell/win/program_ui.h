#pragma once
// The program's status bar and message boxes, as the core's user interface and in the
// platform's wide text. Every box is owned by the main window and keeps the tool windows
// disabled while it is up.

#include <string>
#include <string_view>

#include "base/user_interface.h"

namespace lumetra::win {

struct Program;

class ProgramUi final : public UserInterface {
  public:
    explicit ProgramUi(Program& program) : program_(program) {}

    void setStatusText(int part, const std::string& text) override;
    void showWarning(const std::string& text, const std::string& caption) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    bool askOkCancel(const std::string& text, const std::string& caption) override;

    // Nothing happens before the status bar exists.
    void setStatus(int part, std::wstring_view text);
    std::wstring status(int part) const;
    // Repaints the status bar at once (a render keeps the message loop waiting).
    void repaintStatus();

    void warn(std::wstring_view text, std::wstring_view caption = L"Lumetra Warning!");
    // True when the user answers Yes.
    bool ask(std::wstring_view text, std::wstring_view caption = L"Lumetra Quiz");
    // Yes, No or Cancel: IDYES, IDNO or IDCANCEL.
    int askYesNoCancel(std::wstring_view text, std::wstring_view caption = L"Lumetra");
    // The box titled "Fatal error", then the end of the program through the shutdown sequence.
    void fatalError(std::wstring_view text);

  private:
    int showBox(std::wstring_view text, std::wstring_view caption, unsigned style);

    Program& program_;
};

}  // namespace lumetra::win
