#pragma once
// The recent-files list: the last ten pictures opened, kept as short (8.3) paths so that two
// spellings of one file make one entry, shown newest first in the "Recent &Files" menu, and kept
// across runs under the settings key's "RecentFiles" subkey.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/settings_value_store.h"

namespace lumetra {

struct RecentMenuItem {
    int command = 0;
    std::string text;
    friend bool operator==(const RecentMenuItem&, const RecentMenuItem&) = default;
};

class FileList {
  public:
    static constexpr std::size_t kCapacity = 10;
    static constexpr int kFirstCommand = 3400;  // entry index = command - 3400
    static constexpr int kLastCommand = 3410;
    static constexpr std::string_view kMenuCaption = "Recent &Files";

    explicit FileList(FileSystem& files) : files_(files) {}

    // Adds the file as the newest entry, dropping the oldest when ten are held. A file already
    // listed keeps its place. True when the list changed (the menu must then be rebuilt).
    bool add(const std::filesystem::path& path);

    std::size_t size() const { return entries_.size(); }
    // The stored path of entry `index` (0 = oldest).
    std::optional<std::filesystem::path> entry(std::size_t index) const;
    // The stored path for a menu command 3400..3410; nullopt for other ids or missing entries.
    std::optional<std::filesystem::path> entryForCommand(int command) const;

    // The menu's items, newest first, each showing the file's long name without its folder.
    std::vector<RecentMenuItem> menuItems() const;
    // The "Recent &Files" item is grayed while the list is empty.
    bool menuEnabled() const { return !entries_.empty(); }

    // Replaces the list from the stored values: string values longer than three characters
    // whose path still exists, in the store's order. Failures end the load silently.
    void load(SettingsValueStore& store);
    // Writes "0" (oldest) .. "n-1" and removes the values of the indices up to 9 that are not
    // used any more. Failures end the save silently.
    void save(SettingsValueStore& store) const;

  private:
    FileSystem& files_;
    std::vector<std::filesystem::path> entries_;  // oldest first
};

}  // namespace lumetra
