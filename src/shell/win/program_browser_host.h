#pragma once
// What the image browser asks of the program: a double click's filter or working copy, the
// folder browser, and the filter folder.

#include "browser/win/browser_window.h"

namespace lumetra::win {

struct Program;

class ProgramBrowserHost final : public BrowserHost {
  public:
    explicit ProgramBrowserHost(Program& program) : program_(program) {}

    void filterWithFile(const std::filesystem::path& file) override;
    void openWorkingCopy(const std::filesystem::path& file) override;
    std::optional<std::filesystem::path> chooseFolder(const std::filesystem::path& start,
                                                      const std::string& title) override;
    std::filesystem::path filterFolder() override;
    void setFilterFolder(const std::filesystem::path& folder) override;

  private:
    Program& program_;
};

}  // namespace lumetra::win
