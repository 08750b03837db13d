// libFuzzer target: the soundfile reader. Whatever the bytes, it either refuses them with a
// message or returns samples that the bytes really hold, in the ranges it promises.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "analysis/wav_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumetra::Sound sound;
    std::string message;
    if (!lumetra::decodeWav(std::span(data, size), sound, message)) {
        if (message.empty() || sound.frames() != 0) std::abort();
        return 0;
    }
    const bool stereo = sound.fileChannels > 1;
    if (sound.frames() == 0 || sound.frames() > size / sound.fileChannels ||
        sound.sampleRate < lumetra::kLowestSoundRate ||
        sound.sampleRate > lumetra::kHighestSoundRate || sound.fileChannels < 1 ||
        sound.fileChannels > lumetra::kMostSoundChannels || stereo != sound.stereo() ||
        (stereo && sound.right.size() != sound.frames()))
        std::abort();
    return 0;
}
