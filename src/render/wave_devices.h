#pragma once
// The wave-out devices found at start: their names for the sound options dialog, whether the
// system's mapper answers, and the stored device number made valid for them.

#include <cstdint>
#include <string>
#include <vector>

#include "base/user_interface.h"
#include "render/playback_ports.h"
#include "render/sound_options.h"

namespace lumetra {

struct WaveDeviceList {
    bool mapperPresent = false;
    std::string mapperName;
    std::vector<std::string> names;  // one per device; empty for a device that did not answer
};

inline constexpr std::string_view kNoDeviceText = "No wave output device available!";
inline constexpr std::string_view kDeviceErrorCaption = "Wave out device error";

// Asks every device for its name, reports a machine without any device once, and sets the stored
// device number to 0 when it names no device (or to -1, the mapper, when there is none).
WaveDeviceList enumerateDevices(WaveOutPort& device, UserInterface& ui, SoundOptions& options);

}  // namespace lumetra
