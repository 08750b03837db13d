#pragma once
// The rules of the "Soundcard/Realtime Options" dialog (1100) without its window: the list
// entries and what a choice in them means, the buffer count field, and OK and Cancel.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/playback_ports.h"
#include "render/sound_options.h"
#include "render/wave_devices.h"

namespace lumetra {

inline constexpr std::array<std::int32_t, 7> kBufferSizes{256, 512, 1024, 2048, 4096, 8192, 16384};
inline constexpr std::int32_t kMinBufferCount = 3;
inline constexpr std::int32_t kMaxBufferCount = 16;

inline constexpr std::string_view kNewOptionsMemoryText =
    "Could not get memory for new sound options\nIt may be wise to save your work now and\n"
    "try to restart Lumetra";

// Device list 1033: the mapper first when present, then every device.
std::vector<std::string> deviceListTexts(const WaveDeviceList& devices);
std::int32_t deviceFromListIndex(int listIndex, bool mapperPresent);
int listIndexFromDevice(std::int32_t device, bool mapperPresent);

// Buffer size list 1034 and sample rate list 1038, as "%d".
std::vector<std::string> bufferSizeTexts();
std::vector<std::string> sampleRateTexts();
std::int32_t bufferSizeFromIndex(int index);  // 256 * 2^index; 0 outside the list
int bufferSizeIndex(std::int32_t size);       // -1 when not in the list
std::int32_t sampleRateFromIndex(int index);  // 0 outside the list
int sampleRateIndex(std::int32_t rate);       // -1 when not in the list

// Buffer count field 1035: a whole number 3..16 is taken; nullopt means the field gets the
// current count back.
std::optional<std::int32_t> parseBufferCount(std::string_view text);

// OK: reallocates the buffers for the chosen count and size (a failing `reallocate` must keep the
// old buffers, as PlaybackRing::allocateBuffers does). When that fails the backup is put back and
// false returned: the caller shows kNewOptionsMemoryText. On success the caller updates the
// output format from the options (updateOutputFormat).
bool confirmSoundOptions(
    SoundOptions& options, const SoundOptions& backup,
    const std::function<bool(std::int32_t count, std::int32_t size)>& reallocate);
// Cancel: the backup comes back.
void cancelSoundOptions(SoundOptions& options, const SoundOptions& backup);

}  // namespace lumetra
