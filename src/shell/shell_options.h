#pragma once
// Options of the shell that outlive a session (stored with the settings).

#include <cstdint>

namespace lumetra {

enum class SelectionStyle : std::int32_t { OutlineOnly = 0, Brighten = 1, Inverted = 2 };

struct ShellOptions {
    std::int32_t attachRenderInfo = 0;          // "Attach &Render Info to BMP" (401)
    std::int32_t saveSoundEveryRender = 1;      // "Save Sound at &Every Render" (413)
    std::int32_t soundfileNamedAfterImage = 0;  // 414
    std::int32_t numberSoundfiles = 0;          // 415
    std::int32_t soundfileCounter = 0;          // 0 .. 99
    SelectionStyle selectionStyle = SelectionStyle::Brighten;
    std::int32_t showBrighter = 0;
    std::int32_t undoLimit = 10;
};

}  // namespace lumetra
