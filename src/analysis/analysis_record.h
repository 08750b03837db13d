#pragma once
// The record an analysed picture carries: command 104 with the picture's size and render
// numbers, the source soundfile's name (flag 4) and its length, channels and sample rate
// (flag 16).

#include <cstdint>
#include <string>

#include "render/render_info.h"
#include "render/render_settings.h"

namespace lumetra {

// The name as the record holds it: at most 31 bytes of UTF-8, cut before a partial character.
std::string recordSourceName(const std::string& name);

// The number at offset 152 is printed in the ".info" file's length and sample-rate lines, so it
// holds the sample rate, as offset 160 does.
RenderInfoRecord makeAnalysisRecord(const RenderSettings& settings, const std::string& sourceName,
                                    double seconds, std::int32_t channels, std::int32_t sampleRate);

}  // namespace lumetra
