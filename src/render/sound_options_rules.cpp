#include "render/sound_options_rules.h"

#include <charconv>

namespace lumetra {

std::vector<std::string> deviceListTexts(const WaveDeviceList& devices) {
    std::vector<std::string> texts;
    if (devices.mapperPresent) texts.push_back(devices.mapperName);
    texts.insert(texts.end(), devices.names.begin(), devices.names.end());
    return texts;
}

std::int32_t deviceFromListIndex(int listIndex, bool mapperPresent) {
    return listIndex - (mapperPresent ? 1 : 0);
}

int listIndexFromDevice(std::int32_t device, bool mapperPresent) {
    return device + (mapperPresent ? 1 : 0);
}

std::vector<std::string> bufferSizeTexts() {
    std::vector<std::string> texts;
    for (std::int32_t size : kBufferSizes)
        texts.push_back(std::to_string(size));
    return texts;
}

std::vector<std::string> sampleRateTexts() {
    std::vector<std::string> texts;
    for (std::int32_t rate : kSampleRates)
        texts.push_back(std::to_string(rate));
    return texts;
}

std::int32_t bufferSizeFromIndex(int index) {
    if (index < 0 || index >= int(kBufferSizes.size())) return 0;
    return 256 << index;
}

int bufferSizeIndex(std::int32_t size) {
    for (std::size_t i = 0; i < kBufferSizes.size(); ++i)
        if (kBufferSizes[i] == size) return int(i);
    return -1;
}

std::int32_t sampleRateFromIndex(int index) {
    if (index < 0 || index >= int(kSampleRates.size())) return 0;
    return kSampleRates[std::size_t(index)];
}

int sampleRateIndex(std::int32_t rate) {
    for (std::size_t i = 0; i < kSampleRates.size(); ++i)
        if (kSampleRates[i] == rate) return int(i);
    return -1;
}

std::optional<std::int32_t> parseBufferCount(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    std::int32_t count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (count < kMinBufferCount || count > kMaxBufferCount) return std::nullopt;
    return count;
}

bool confirmSoundOptions(
    SoundOptions& options, const SoundOptions& backup,
    const std::function<bool(std::int32_t count, std::int32_t size)>& reallocate) {
    if (reallocate(options.bufferCount, options.bufferSize)) return true;
    options = backup;
    return false;
}

void cancelSoundOptions(SoundOptions& options, const SoundOptions& backup) {
    options = backup;
}

}  // namespace lumetra
