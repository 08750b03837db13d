#pragma once
// The "Create New Image" dialog (3301): size fields W and H, the pitch range and its step.

#include <windows.h>

#include <optional>

#include "render/render_settings.h"

namespace lumetra::win {

// Shows the dialog over a copy of `settings`; the chosen settings when "&New Image" was pressed.
std::optional<RenderSettings> askForNewImage(HWND owner, const RenderSettings& settings);

}  // namespace lumetra::win
