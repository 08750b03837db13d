#pragma once
// The file-system and process facts behind settling the program folders, from the wide API.
// Paths of any length and with any characters work: buffers grow to what the API asks for, and
// long paths go to the API in their extended-length form.

#include "shell/program_folders.h"

namespace lumetra::win {

class WinFolderSystem final : public FolderSystem {
  public:
    std::optional<std::string> modulePath() override;
    std::optional<std::string> currentDirectory() override;
    std::optional<EntryAttributes> attributes(const std::string& path) override;
    bool createDirectory(const std::string& path) override;
    // A variable that is set but empty comes back as an empty text.
    std::optional<std::string> environmentVariable(const std::string& name) override;
};

}  // namespace lumetra::win
