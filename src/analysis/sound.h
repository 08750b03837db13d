#pragma once
// A sound read from a file, kept as the analysis needs it: the first two channels as 32-bit
// floats in -1 .. 1, one array per channel (the second empty for a one-channel file).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumetra {

struct Sound {
    std::int32_t sampleRate = 0;
    std::int32_t fileChannels = 0;  // the file's channel count, 1 .. 8
    std::vector<float> left;        // channel 1
    std::vector<float> right;       // channel 2; empty for a mono file

    std::size_t frames() const { return left.size(); }
    bool stereo() const { return !right.empty(); }
    double seconds() const { return sampleRate > 0 ? double(frames()) / sampleRate : 0.0; }
};

}  // namespace lumetra
