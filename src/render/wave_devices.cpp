#include "render/wave_devices.h"

#include <algorithm>

#include "base/text_limits.h"
#include "render/playback_ring.h"

namespace lumetra {

WaveDeviceList enumerateDevices(WaveOutPort& device, UserInterface& ui, SoundOptions& options) {
    WaveDeviceList list;
    const std::int32_t count = std::max<std::int32_t>(0, device.deviceCount());
    list.mapperPresent = device.capabilities(-1, list.mapperName) == 0;
    if (!list.mapperPresent) {
        list.mapperName.clear();
        if (count == 0) ui.showWarning(std::string(kNoDeviceText), soundSystemFailureCaption(1));
    }
    list.names.resize(static_cast<std::size_t>(count));
    for (std::int32_t number = 0; number < count; ++number) {
        std::string& name = list.names[static_cast<std::size_t>(number)];
        if (const int code = device.capabilities(number, name)) {
            name.clear();
            ui.showWarning(truncateText(device.errorText(code), 400),
                           std::string(kDeviceErrorCaption));
        }
    }
    // -1 names the mapper: with devices but no mapper to answer, it would name nothing.
    const bool named =
        options.device >= 0 ? options.device < count : options.device == -1 && list.mapperPresent;
    if (count == 0)
        options.device = -1;
    else if (!named)
        options.device = 0;
    return list;
}

}  // namespace lumetra
