#include "shell/file_list.h"

#include <algorithm>

#include "base/file_io.h"
#include "base/registry_error.h"
#include "shell/settings_schema.h"

namespace lumetra {
namespace {

const std::string kKey(kRecentFilesKey);

std::string afterLastBackslash(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool FileList::add(const std::filesystem::path& path) {
    std::filesystem::path stored = files_.shortPath(path);
    if (stored.empty()) return false;
    // The same text: two spellings of one file meet in their short form.
    const auto same = [&](const std::filesystem::path& entry) {
        return entry.native() == stored.native();
    };
    if (std::any_of(entries_.begin(), entries_.end(), same)) return false;
    if (entries_.size() >= kCapacity) entries_.erase(entries_.begin());
    entries_.push_back(std::move(stored));
    return true;
}

std::optional<std::filesystem::path> FileList::entry(std::size_t index) const {
    if (index >= entries_.size()) return std::nullopt;
    return entries_[index];
}

std::optional<std::filesystem::path> FileList::entryForCommand(int command) const {
    if (command < kFirstCommand || command > kLastCommand) return std::nullopt;
    return entry(std::size_t(command - kFirstCommand));
}

std::vector<RecentMenuItem> FileList::menuItems() const {
    std::vector<RecentMenuItem> items;
    for (std::size_t i = entries_.size(); i-- > 0;)
        items.push_back({kFirstCommand + int(i),
                         afterLastBackslash(utf8FromPath(files_.longPath(entries_[i])))});
    return items;
}

void FileList::load(SettingsValueStore& store) {
    try {
        if (!store.openKey(kKey)) return;
        const std::vector<StoredValue> values = store.enumerateValues(kKey);
        if (!values.empty()) entries_.clear();
        for (const StoredValue& value : values) {
            const auto path = textFrom(value);
            if (path && path->size() > 3 && files_.attributes(pathFromUtf8(*path)))
                add(pathFromUtf8(*path));
        }
    } catch (const RegistryError&) {
        // What was read so far stays; the list is a convenience, not worth a message.
    }
}

void FileList::save(SettingsValueStore& store) const {
    try {
        if (!store.openKey(kKey)) return;
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (store.writeValue(kKey, textValue(std::to_string(i), utf8FromPath(entries_[i]))) !=
                0)
                return;
        for (std::size_t i = entries_.size(); i < kCapacity; ++i)
            if (store.deleteValue(kKey, std::to_string(i)) != 0) return;
    } catch (const RegistryError&) {
    }
}

}  // namespace lumetra
