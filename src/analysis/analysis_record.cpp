#include "analysis/analysis_record.h"

#include <algorithm>

namespace lumetra {

std::string recordSourceName(const std::string& name) {
    std::size_t length = std::min<std::size_t>(name.size(), 31);
    // A continuation byte at the cut means the character it belongs to does not fit.
    if (length < name.size())
        while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80)
            --length;
    return name.substr(0, length);
}

RenderInfoRecord makeAnalysisRecord(const RenderSettings& settings, const std::string& sourceName,
                                    double seconds, std::int32_t channels,
                                    std::int32_t sampleRate) {
    RenderInfoRecord r;
    r.setMagic();
    r.size = RenderInfoRecord::kSizeFromRender;
    r.version = RenderInfoRecord::kVersion;
    r.valid = 1;
    r.command = RenderInfoRecord::kAnalysisCommand;
    r.width = settings.width;
    r.height = settings.height;
    r.lowFrequency = float(settings.lowFrequency);
    r.highFrequency = float(settings.highFrequency);
    r.ampFactor = float(settings.ampFactor);
    r.outputTime = float(settings.outputTime);
    r.flags = RenderInfoRecord::kFlagSourceName | RenderInfoRecord::kFlagSourceSound;
    const std::string name = recordSourceName(sourceName);
    std::copy(name.begin(), name.end(), r.sourceName.begin());
    r.sourceLength = float(seconds);
    r.sourceNumber = std::uint32_t(sampleRate);
    r.sourceChannels = std::uint32_t(channels);
    r.sourceSampleRate = std::uint32_t(sampleRate);
    return r;
}

}  // namespace lumetra
