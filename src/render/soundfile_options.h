#pragma once
// How renders name and keep their soundfiles (stored with the shell's options).

#include <cstdint>

namespace lumetra {

struct SoundfileOptions {
    std::int32_t saveSoundEveryRender = 1;      // "Save Sound at &Every Render" (413)
    std::int32_t soundfileNamedAfterImage = 0;  // 414
    std::int32_t numberSoundfiles = 0;          // 415
    std::int32_t soundfileCounter = 0;          // 0 .. 99
};

}  // namespace lumetra
