#pragma once
// The size of the screen in pixels. The deformation drags take their angle and shear units from
// it, so that a full turn or fold needs about the same hand movement on any display.

#include <cstdint>

namespace lumetra {

struct ScreenSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const ScreenSize&, const ScreenSize&) = default;
};

// The screen assumed where no real one is asked (the batch editor, tests).
inline constexpr ScreenSize kDefaultDragScreen{1920, 1080};

}  // namespace lumetra
