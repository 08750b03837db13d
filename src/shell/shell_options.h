#pragma once
// Options of the shell that outlive a session (stored with the settings).

#include <cstdint>

#include "document/canvas_view.h"
#include "render/soundfile_options.h"

namespace lumetra {

enum class SelectionStyle : std::int32_t { OutlineOnly = 0, Brighten = 1, Inverted = 2 };

struct ShellOptions {
    std::int32_t attachRenderInfo = 0;  // "Attach &Render Info to BMP" (401)
    SoundfileOptions soundfile;
    SelectionStyle selectionStyle = SelectionStyle::Brighten;
    std::int32_t showBrighter = 0;
    std::int32_t undoLimit = 10;
    // How the selection is drawn while it is dragged: the style's bits plus the dotted outline.
    std::int32_t dragDecoration = kDecorationBrighten | kDecorationOutline;
};

}  // namespace lumetra
